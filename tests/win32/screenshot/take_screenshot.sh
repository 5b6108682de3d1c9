#!/usr/bin/env bash
# A screenshot of the Windows build as a user sees it: cindermoor.exe under Wine (its
# ordinary X11 driver) on a private Xvfb display, on a prefix whose drive C: holds the
# sample Windows Me drive. The main window with Win.ini open and the About window are
# placed side by side in one picture.
# Usage: tests/win32/screenshot/take_screenshot.sh [BUILD_FOLDER] [OUTPUT.png]
# (run .ci/windows.sh or build the cross build first; needs xvfb and imagemagick)
set -euo pipefail
cd "$(dirname "$0")/../../.."
build="${1:-build-win}"
out="${2:-docs/windows-build.png}"
exe="$PWD/$build/app/cindermoor.exe"
driver="$PWD/$build/tests/win32/win32_window_driver.exe"
for f in "$exe" "$driver"; do
  [ -f "$f" ] || { echo "missing $f: build $build first" >&2; exit 1; }
done

work="$(mktemp -d)"
prefix="$work/prefix"
display=":$((RANDOM % 400 + 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display" WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sleep 1

wineboot -i >"$work/wine.log" 2>&1
# Wine's own fonts, as the tests' prefix has them (tests/win32/prepare_wine_prefix.sh).
for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
  [ "$(basename "$font")" = tahomabd.ttf ] || cp -n "$font" "$prefix/drive_c/windows/Fonts/"
done
# The sample drive: its files where Windows Me keeps them. Wine's own Win.ini and
# System.ini make way for the sample's.
rm -f "$prefix/drive_c/windows/win.ini" "$prefix/drive_c/windows/system.ini"
cp samples/drive_c/WINDOWS/* "$prefix/drive_c/windows/"
cp samples/drive_c/AUTOEXEC.BAT samples/drive_c/CONFIG.SYS "$prefix/drive_c/"

# One Wine desktop window for every program of the prefix, so that Wine draws the title
# bars and frames itself and the driver sees the program's windows.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$work/wine.log" 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
  >>"$work/wine.log" 2>&1
wineserver -w
wine "$exe" >>"$work/wine.log" 2>&1 &
wine "$driver" wait Cindermoor
wine "$driver" press Cindermoor Win.ini
sleep 2

shoot() {  # shoot TITLE FILE: the window with that title, cut out of the screen
  local rect
  rect=($(wine "$driver" rect "$1" | tr -d '\r'))
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${rect[2]}x${rect[3]}+${rect[0]}+${rect[1]}" +repage "$2"
}
shoot Cindermoor "$work/main.png"
wine "$driver" press Cindermoor v1.5
wine "$driver" wait "About WinME Cindermoor"
sleep 2
shoot "About WinME Cindermoor" "$work/about.png"

convert "$work/main.png" -size 16x1 xc:white "$work/about.png" -background white +append "$out"
echo "Saved $out"
