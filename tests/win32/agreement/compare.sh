#!/bin/sh
# Runs the path and file-service cases with the emulation (the Linux build's file
# services) and with Wine's real calls on one Wine prefix, and fails unless both give the
# same answers, and the answers the table expects.
# Usage: compare.sh WINE WINDOWS_PROBE.EXE HOST_PROBE WORK_FOLDER
set -eu
wine="$1"
windows_probe="$2"
host_probe="$3"
work="$4"

rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
log="$work/wine.log"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
wineboot="$(dirname "$(command -v "$wine")")/wineboot"
[ -x "$wineboot" ] || wineboot=wineboot
# Wine's server and services must not hold on to the test runner's output.
"$wineboot" -i </dev/null >"$log" 2>&1

# The cases' drive is D:; there is no Z: drive for the whole Unix tree.
"$host_probe" layout "$work/layout"
ln -s ../../layout "$prefix/dosdevices/d:"
rm -f "$prefix/dosdevices/z:"
cp "$windows_probe" "$prefix/drive_c/path_probe.exe"

status=0
(cd "$work/layout/Work" && "$host_probe" run) >"$work/emulation.txt" || status=1
"$wine" 'C:\path_probe.exe' run </dev/null >"$work/wine.raw" 2>"$work/wine.err" || status=1
grep -v -e '^wine:' -e 'fixme:' "$work/wine.err" || true
tr -d '\r' <"$work/wine.raw" >"$work/wine.txt"
WINEPREFIX="$prefix" "$(dirname "$(command -v "$wine")")/wineserver" -k >/dev/null 2>&1 || true

if ! diff -u "$work/emulation.txt" "$work/wine.txt"; then
    echo "The emulation and Wine answer differently (- emulation, + Wine)."
    status=1
fi
answers=$(grep -c . "$work/wine.txt" || true)
if [ "$answers" -lt 100 ]; then
    echo "Wine gave only $answers answers."
    status=1
fi
[ "$status" -eq 0 ] && echo "$answers answers: the emulation and Wine agree, as the table expects."
exit "$status"
