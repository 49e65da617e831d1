#!/bin/sh
# Cross-compiles for Windows what can be built without a Windows Qt (see
# CMakeLists.txt here) into BUILD_DIR (default build/mingw), then runs the
# test program of the Win32 and ODBC units, windowscheck.exe, under Wine.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../build/mingw}
cmake -S "$here" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
      -DZELVAN_QT_HEADERS="$(qtpaths6 --query QT_INSTALL_HEADERS)"
cmake --build "$out" -j"$(nproc)"

# A new Wine prefix for each run, in a scratch folder that also holds the
# program: its cases write beside it (the updater, the database).
wine=/usr/lib/wine/wine64
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tds=
cleanup() {
    [ -z "$tds" ] || kill "$tds" 2>/dev/null || true
    "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Turkish Windows: Wine takes its ANSI code page (1254) from the locale, and
# unixODBC converts wide calls for drivers without wide entry points (SQLite's)
# through the locale's character set, so the locale must exist.
mkdir "$scratch/locale"
localedef -i tr_TR -f UTF-8 "$scratch/locale/tr_TR.UTF-8"
export LOCPATH="$scratch/locale" LC_ALL=tr_TR.UTF-8

if ! "$wine" wineboot --init >"$scratch/wineboot.log" 2>&1; then
    cat "$scratch/wineboot.log" >&2
    exit 1
fi
# The demo instance served as a SQL Server on 127.0.0.1, for the FreeTDS cases:
# the Linux programs of the main build (tools/test.sh builds them first).
bin=${ZELVAN_BIN_DIR:-$here/../../build/bin}
"$bin/zelvan-demo" "$scratch/demo" >/dev/null
"$bin/zelvan-tds-server" "$scratch/demo" >"$scratch/tds.out" 2>&1 &
tds=$!
for _ in $(seq 50); do
    grep -q '^listening on ' "$scratch/tds.out" && break
    sleep 0.1
done
export ZELVAN_TDS_SERVER="$(sed -n 's/^listening on //p' "$scratch/tds.out")"

cp "$out/windowscheck.exe" "$scratch/"
timeout 300 "$wine" "$scratch/windowscheck.exe"
