#!/bin/sh
# Runs one fuzz target for a while: sh tools/fuzz.sh TARGET SECONDS
# Builds build-fuzz with clang (ZELVAN_FUZZ) when needed. The fuzzer starts
# from the kept inputs in fuzz/corpus/TARGET and grows its own corpus in
# build-fuzz/corpus/TARGET; what it finds lands in build-fuzz/findings/TARGET.
# A found input, once its fault is fixed, is copied into fuzz/corpus/TARGET,
# where tst_fuzzregressions replays it in every build.
set -eu
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
    echo "usage: sh tools/fuzz.sh TARGET SECONDS   (targets: $(ls fuzz/corpus | tr '\n' ' '))" >&2
    exit 2
fi
target=$1
seconds=$2
[ -d "fuzz/corpus/$target" ] || { echo "fuzz.sh: no target $target" >&2; exit 2; }

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVAN_FUZZ=ON >/dev/null
fi
cmake --build build-fuzz --target "fuzz_$target" -j"$(nproc)" >/dev/null

work=build-fuzz/corpus/$target
findings=build-fuzz/findings/$target
mkdir -p "$work" "$findings"
log=build-fuzz/fuzz-$target.log
dict=
[ -f "fuzz/$target.dict" ] && dict="-dict=fuzz/$target.dict"

# As the tests run: no screen, pinned locale and time zone.
status=0
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL=C.UTF-8 TZ=Europe/Istanbul \
ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
LSAN_OPTIONS=suppressions=tests/sanitizers/lsan.supp:print_suppressions=0 \
    "build-fuzz/bin/fuzz_$target" $dict -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
features=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
corpus=$(ls "$work" | wc -l)
found=$(ls "$findings" | wc -l)
echo "$target: ${runs:-0} runs in ${seconds}s, coverage ${cov:-?} edges, ${features:-?} features, corpus $corpus, findings $found (exit $status, log $log)"
[ "$found" -eq 0 ] && [ "$status" -eq 0 ]
