#!/bin/sh
# Makes the Wine prefix the Windows tests run in, unless it is there already: Wine's own
# C: drive and registry, with the "null" graphics driver so that no display is needed.
# Then starts a session that the tests share (ended by "wineserver -k" afterwards).
# Usage: prepare_wine_prefix.sh PREFIX WINE [KEEPER.EXE]
set -eu
prefix="$1"
wine="$2"
keeper="${3:-}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
# Wine's server and services outlive the commands that start them: they must not hold on
# to the test runner's output, or it waits for them. Their output goes to a file instead.
log="$prefix/session.log"
: >"$log"
if [ ! -f "$prefix/system.reg" ]; then
    wineboot="$(dirname "$(command -v "$wine")")/wineboot"
    [ -x "$wineboot" ] || wineboot=wineboot
    "$wineboot" -i </dev/null >>"$log" 2>&1
fi
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1
"$wine" reg query 'HKCU\Software\Wine\Drivers' /v Graphics </dev/null 2>>"$log" | grep -q null
if [ -n "$keeper" ]; then
    setsid "$wine" "$keeper" </dev/null >>"$log" 2>&1 &
fi
echo "Wine prefix ready: $prefix (graphics driver: null)"
