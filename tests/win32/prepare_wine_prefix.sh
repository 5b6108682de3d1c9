#!/bin/sh
# Makes the Wine prefix the Windows tests run in, unless it is there already: Wine's own
# C: drive and registry, with the "null" graphics driver so that no display is needed.
# The programs named after KEEPER.EXE run as on Windows 98: GetVersion reports 4.10.
# Then starts Wine's server, services and desktop for the tests to share (stopped by
# "wineserver -k" afterwards).
# Usage: prepare_wine_prefix.sh PREFIX WINE [KEEPER.EXE [WIN98-PROGRAM.exe...]]
set -eu
prefix="$1"
wine="$2"
keeper="${3:-}"
shift $(($# < 3 ? $# : 3))
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
# Wine's server and services outlive the commands that start them: they must not hold on
# to the test runner's output, or it waits for them. Their output goes to a file instead.
log="$prefix/wine.log"
: >"$log"
wineserver="$(dirname "$(command -v "$wine")")/wineserver"
# A Wine server left over from an interrupted run would hold on to the old state.
"$wineserver" -k </dev/null >>"$log" 2>&1 || true
"$wineserver" -w </dev/null >>"$log" 2>&1 || true
if [ ! -f "$prefix/system.reg" ]; then
    wineboot="$(dirname "$(command -v "$wine")")/wineboot"
    [ -x "$wineboot" ] || wineboot=wineboot
    "$wineboot" -i </dev/null >>"$log" 2>&1
fi
# Debian's Wine does not pick up its own fonts (Tahoma, MS Sans Serif, Marlett); a
# Windows installation has them in its Fonts folder, and so does this prefix. Wine's
# tahomabd.ttf is only a wider regular face: without it, Tahoma Bold is drawn emboldened.
fonts="$prefix/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
    for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
        [ "$(basename "$font")" = tahomabd.ttf ] || cp -n "$font" "$fonts/"
    done
fi
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1
"$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics </dev/null 2>>"$log" | grep -q null
for program in "$@"; do
    "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d win98 /f \
        </dev/null >>"$log" 2>&1
done
# A server started before the change keeps its desktop on the old driver: wait for it to
# stop, so that the next one starts on the null driver.
"$wineserver" -w </dev/null >>"$log" 2>&1 || true
if [ -n "$keeper" ]; then
    ready="$prefix/drive_c/windows/temp/cindermoor-wine-ready"
    rm -f "$ready"
    setsid "$wine" "$keeper" 'C:\windows\temp\cindermoor-wine-ready' </dev/null >>"$log" 2>&1 &
    tries=0
    until [ -f "$ready" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 300 ]; then
            echo "Wine did not come up; its log:" >&2
            cat "$log" >&2
            exit 1
        fi
        sleep 0.1
    done
fi
echo "Wine prefix ready: $prefix (graphics driver: null)"
