#!/usr/bin/env bash
# Runs a command on a fresh Xvfb screen (1280x1024) managed by openbox; exits 77 (skipped)
# when one of the X tools is missing.
set -euo pipefail
for tool in Xvfb openbox xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: no $tool (install-deps.sh --tests)"; exit 77; }
done
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
# Xvfb picks a free display itself and writes its number to the file.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/log" &
for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
HOME="$work" openbox --sm-disable >>"$work/log" 2>&1 &
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
for _ in $(seq 300); do managed && break; sleep 0.1; done
managed || { cat "$work/log"; exit 1; }
QT_QPA_PLATFORM= "$@"
