#!/bin/sh
# Installs, builds and runs every test.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
# Windows: cross-compile what builds without a Windows Qt, and run the Win32
# and ODBC units under Wine.
sh tools/mingw/check.sh build/mingw

# The same tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# (-O1 keeps the instrumented runs quick and the stacks readable).
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DZELVAN_SANITIZE=ON
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
