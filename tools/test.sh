#!/bin/sh
# Installs, builds and runs every test.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
# Windows: cross-compile what builds without a Windows Qt.
sh tools/mingw/check.sh build/mingw
