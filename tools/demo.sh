#!/bin/sh
# Installs, builds, creates the demo instance and shows its report: in the
# viewer when there is a display, else as a PDF whose path is printed.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target zelvan zelvan-demo
build/bin/zelvan-demo build/demo
line="NRV_DEMO_2026|$PWD/build/demo|1|norvent|Zelvan2026"
# The demo keeps its own registry file, so that trying it changes nothing of the user's.
export ZELVAN_REGISTRY="$PWD/build/demo-registry.reg"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/zelvan -- "$line"
fi
ZELVAN_ANSWERS=yes build/bin/zelvan --pdf build/zelvan-raporu.pdf -- "$line"
echo "ZELVAN RAPORU: $PWD/build/zelvan-raporu.pdf"
