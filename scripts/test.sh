#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs all tests: the Linux build, then
# the Windows build cross-compiled with mingw-w64 and tested under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests
cmake --preset linux
cmake --build --preset linux
ctest --preset linux

scripts/test-windows.sh
