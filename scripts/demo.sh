#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on a copy of the sample drive
# in a scratch Wine-style prefix under the build folder (the samples stay untouched).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset demo
cmake --build --preset demo

prefix="$PWD/build/demo-prefix"
rm -rf "$prefix"
mkdir -p "$prefix/dosdevices"
cp -a samples/drive_c "$prefix/drive_c"
ln -s ../drive_c "$prefix/dosdevices/c:"
echo "Sample drive C: is $prefix/drive_c"
WINEPREFIX="$prefix" exec build/app/cindermoor
