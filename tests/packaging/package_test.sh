#!/usr/bin/env bash
# Usage: package_test.sh deb|zip BUILD_DIR SOURCE_DIR. Builds the package as a user gets it and
# checks what it holds: the .deb's menu entry, metadata, icons and start, or the zip's files.
set -euo pipefail
kind=$1 build=$2 source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
(cd "$work" && cpack -G "${kind^^}" --config "$build/CPackConfig.cmake" >log 2>&1) ||
  { cat "$work/log"; exit 1; }

if [ "$kind" = zip ]; then
  zip=$(ls "$work"/cindermoor-*.zip)
  unzip -q "$zip" -d "$work/out"
  top="$work/out/$(basename "$zip" .zip)"
  for f in cindermoor.exe README.md LICENSE; do test -s "$top/$f" || fail "not in the zip: $f"; done
  # The zip's name says which Windows it is for; the executable's PE header must agree.
  pe=$(od -An -tu4 -j60 -N4 "$top/cindermoor.exe" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$top/cindermoor.exe" | tr -d ' ')
  case "$zip" in *-windows-x86.zip) want=014c ;; *-windows-x64.zip) want=8664 ;; *) want=none ;; esac
  [ "$machine" = "$want" ] || fail "$(basename "$zip") holds a program for machine $machine"
  exit 0
fi

dpkg-deb -x "$work"/cindermoor_*.deb "$work/root"
share=$work/root/usr/share
desktop=$share/applications/org.cindermoor.Cindermoor.desktop
desktop-file-validate "$desktop"
metainfo=$share/metainfo/org.cindermoor.Cindermoor.metainfo.xml
appstreamcli validate --no-net --pedantic "$metainfo"
grep -q "<id>org.cindermoor.Cindermoor</id>" "$metainfo" || fail "the metainfo's id is not its name"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
test -f "$share/applications/$launchable" || fail "the metainfo launches $launchable, not installed"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 32 256; do
  png=$share/icons/hicolor/${size}x$size/apps/$icon.png
  test -f "$png" || fail "the menu entry's icon $icon is not installed at $size x $size"
  [ "$(od -An -tu1 -j18 -N2 "$png" | tr -s ' ')" = " $((size >> 8)) $((size & 255))" ] ||
    fail "$png is not $size pixels wide"
done

# The menu entry's command, found in the package alone, starts and keeps running.
mkdir -p "$work/prefix/dosdevices"
cp -a "$source/samples/drive_c" "$work/prefix/drive_c"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
rc=0
timeout 3 env PATH="$work/root/usr/bin" QT_QPA_PLATFORM=offscreen WINEPREFIX="$work/prefix" \
  $(sed -n 's/^Exec=//p' "$desktop") >"$work/log" 2>&1 || rc=$?
[ $rc = 124 ] || { cat "$work/log"; fail "the menu entry's command did not keep running"; }
