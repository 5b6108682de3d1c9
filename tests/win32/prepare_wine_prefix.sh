#!/bin/sh
# Makes the Wine prefix of the Windows tests (null graphics driver; the programs named after
# KEEPER.EXE run as Windows 98), then starts Wine and its desktop through KEEPER.EXE for the
# tests to share (stopped by "wineserver -k").
# Usage: prepare_wine_prefix.sh PREFIX WINE KEEPER.EXE [WIN98-PROGRAM.exe...]
set -eu
prefix="$1" wine="$2" keeper="$3"
shift 3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
bin="$(dirname "$(command -v "$wine")")"
mkdir -p "$prefix"
# Wine's server outlives the commands that start it: output to a file, or ctest waits for it.
log="$prefix/wine.log"
: >"$log"
# A server left over from an interrupted run would hold on to the old state.
"$bin/wineserver" -k </dev/null >>"$log" 2>&1 || true
"$bin/wineserver" -w </dev/null >>"$log" 2>&1 || true
wineboot="$bin/wineboot"
[ -x "$wineboot" ] || wineboot=wineboot
[ -f "$prefix/system.reg" ] || "$wineboot" -i </dev/null >>"$log" 2>&1
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1
for program in "$@"; do
    "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d win98 /f \
        </dev/null >>"$log" 2>&1
done
# The next server starts on the null driver, once the one that made the change is gone.
"$bin/wineserver" -w </dev/null >>"$log" 2>&1 || true
ready="$prefix/drive_c/windows/temp/cindermoor-wine-ready"
rm -f "$ready"
setsid "$wine" "$keeper" 'C:\windows\temp\cindermoor-wine-ready' </dev/null >>"$log" 2>&1 &
tries=0
until [ -f "$ready" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 300 ] || { echo "Wine did not come up; its log:" >&2; cat "$log" >&2; exit 1; }
    sleep 0.1
done
