#!/bin/sh
# Runs the path and file-service cases with the emulation (the Linux build's file services)
# and with Wine's real calls on one Wine prefix; fails unless both answer alike, and as the
# table expects. Usage: compare.sh WINE WINDOWS_PROBE.EXE HOST_PROBE WORK_FOLDER
set -eu
wine="$1" windows_probe="$2" host_probe="$3" work="$4"
wine_bin="$(dirname "$(command -v "$wine")")"
rm -rf "$work" && mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
# Wine's server and services must not hold on to the test runner's output.
"$wine_bin/wineboot" -i </dev/null >"$work/wine.log" 2>&1

# The cases' drive is D:; no Z: drive for the whole Unix tree.
"$host_probe" layout "$work/layout"
ln -s ../../layout "$WINEPREFIX/dosdevices/d:"
rm -f "$WINEPREFIX/dosdevices/z:"
cp "$windows_probe" "$WINEPREFIX/drive_c/path_probe.exe"

status=0
(cd "$work/layout/Work" && "$host_probe" run) >"$work/emulation.txt" || status=1
"$wine" 'C:\path_probe.exe' run </dev/null 2>&1 >"$work/wine.raw" | grep -v -e '^wine:' -e fixme: || true
tr -d '\r' <"$work/wine.raw" >"$work/wine.txt"
"$wine_bin/wineserver" -k >/dev/null 2>&1 || true
diff -u "$work/emulation.txt" "$work/wine.txt" || { echo "(- emulation, + Wine)"; status=1; }
answers=$(grep -c . "$work/wine.txt" || true)
[ "$answers" -ge 100 ] || { echo "Wine gave only $answers answers."; status=1; }
[ "$status" -eq 0 ] && echo "$answers answers: the emulation and Wine agree, as the table expects."
exit "$status"
