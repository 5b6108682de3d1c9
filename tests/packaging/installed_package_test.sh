#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch root, validates its desktop entry and
# AppStream metadata, and starts the installed program on a copy of the sample drive.
# Usage: installed_package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/cindermoor_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends
dpkg-deb -x "$deb" "$work/root"

desktop-file-validate "$work/root/usr/share/applications/org.cindermoor.Cindermoor.desktop"
appstreamcli validate --no-net --pedantic \
  "$work/root/usr/share/metainfo/org.cindermoor.Cindermoor.metainfo.xml"
for size in 32x32 256x256; do
  test -s "$work/root/usr/share/icons/hicolor/$size/apps/org.cindermoor.Cindermoor.png"
done

mkdir -p "$work/prefix/dosdevices"
cp -a "$source/samples/drive_c" "$work/prefix/drive_c"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
QT_QPA_PLATFORM=offscreen WINEPREFIX="$work/prefix" "$work/root/usr/bin/cindermoor" \
  >"$work/app.log" 2>&1 &
app_pid=$!
sleep 3
if ! kill -0 "$app_pid" 2>/dev/null; then
  echo "the installed program did not keep running:"
  cat "$work/app.log"
  exit 1
fi
echo "the installed program runs from $work/root/usr/bin"
exit 0
