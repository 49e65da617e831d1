#!/bin/sh
# Cross-compiles for Windows what can be built without a Windows Qt (see
# CMakeLists.txt here) into BUILD_DIR (default build/mingw). Nothing runs.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../build/mingw}
cmake -S "$here" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
      -DZELVAN_QT_HEADERS="$(qtpaths6 --query QT_INSTALL_HEADERS)"
cmake --build "$out" -j"$(nproc)"
