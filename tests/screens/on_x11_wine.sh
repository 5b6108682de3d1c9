#!/bin/sh
# Runs a Windows program under Wine's X11 driver in a Wine desktop window on a private Xvfb
# screen, so that Wine draws the frames, title bars and scroll bars as Windows would.
# The prefix, with the fonts that the other Windows tests have, is made when missing.
# With "win98" the program runs as on Windows 98: GetVersion says 4.10.
# Usage: on_x11_wine.sh PREFIX WINE PROGRAM.exe [win98]
set -eu
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine="$2"
wineserver="$(dirname "$(command -v "$wine")")/wineserver"
mkdir -p "$WINEPREFIX"
# A server left by the previous run on this prefix must be gone before this one starts.
"$wineserver" -k >/dev/null 2>&1 || true
"$wineserver" -w
number="$WINEPREFIX/display"
: >"$number"
# Xvfb picks a free display and writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap '"$wineserver" -k >/dev/null 2>&1 || true; "$wineserver" -w; kill "$xvfb"' EXIT
tries=0
until [ -s "$number" ]; do
  tries=$((tries + 1))
  [ "$tries" -le 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(cat "$number")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$(dirname "$(command -v "$wine")")/wineboot" -i >/dev/null 2>&1 </dev/null
  for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
    [ "$(basename "$font")" = tahomabd.ttf ] || cp -n "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
    >/dev/null 2>&1
  "$wineserver" -w
fi
if [ "${4:-}" = win98 ]; then
  "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$3")" /v Version /d win98 /f \
    >/dev/null
fi
"$wine" "$3" </dev/null
