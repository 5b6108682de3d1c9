#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs all tests: the Linux build, then
# the Windows build cross-compiled with mingw-w64 and tested under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINDERMOOR_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure --timeout 300

scripts/test-windows.sh
