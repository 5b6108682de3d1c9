#!/usr/bin/env bash
# Builds the zip of the Windows build and checks what it holds.
# Usage: windows_zip_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack -G ZIP --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
zip=$(ls "$work"/cindermoor-*.zip)
echo "package: $(basename "$zip"), $(stat -c %s "$zip") bytes"
unzip -l "$zip"
unzip -q "$zip" -d "$work/out"
top="$work/out/$(basename "$zip" .zip)"
for f in cindermoor.exe README.md LICENSE; do
  test -s "$top/$f" || { echo "missing from the zip: $f"; exit 1; }
done
head -c 2 "$top/cindermoor.exe" | grep -q MZ || { echo "cindermoor.exe is no Windows program"; exit 1; }
