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
# The zip's name says which Windows it is for: windows-x86 (PE32, i386) or windows-x64.
pe=$(od -An -tu4 -j60 -N4 "$top/cindermoor.exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$top/cindermoor.exe" | tr -d ' ')
case "$(basename "$zip")" in
  *-windows-x86.zip) want=014c ;;
  *-windows-x64.zip) want=8664 ;;
  *) echo "the zip's name names no processor: $(basename "$zip")"; exit 1 ;;
esac
[ "$machine" = "$want" ] || { echo "cindermoor.exe is for machine $machine, not $want"; exit 1; }
