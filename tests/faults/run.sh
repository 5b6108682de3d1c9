#!/usr/bin/env bash
# Puts each fault of this folder (or each one named) into the code in turn, runs the tests of
# the builds it touches and says CAUGHT or MISSED (see README.md). Usage: run.sh [NAME...]
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
log_dir="${FAULTS_LOG_DIR:-$(mktemp -d)}"
mkdir -p "$log_dir" || exit 1
[ $# -gt 0 ] || set -- tests/faults/*.patch
applied=""
take_out() { [ -z "$applied" ] || { git apply -R "$applied" && applied=""; }; }
trap take_out EXIT
trap 'take_out; exit 130' INT TERM

# Qt and POSIX code is built by Linux only, Win32 code by Windows only, the rest by all.
builds_for() {
  local linux=0 windows=0 file
  for file in $(git apply --numstat "$1" | cut -f3); do
    case "$file" in
      toolkit/qt/* | app/linux/* | fileops/*posix* | fileops/wine_*) linux=1 ;;
      toolkit/win32/* | fileops/*win32*) windows=1 ;;
      *) linux=1 windows=1 ;;
    esac
  done
  [ $linux = 0 ] || echo build
  [ $windows = 0 ] || for dir in build-win build-win98; do [ ! -f "$dir/CMakeCache.txt" ] || echo "$dir"; done
}

caught=0
for name in "$@"; do
  name=$(basename "$name" .patch)
  patch=tests/faults/$name.patch
  git apply "$patch" || { echo "$name: DOES NOT APPLY"; continue; }
  applied=$patch verdict=MISSED
  for dir in $(builds_for "$patch"); do
    log=$log_dir/$name.$dir
    if ! cmake --build "$dir" -j2 >"$log.build" 2>&1; then
      verdict="CAUGHT (build of $dir failed)"
    elif ! ctest --test-dir "$dir" -j2 --timeout 300 >"$log.test" 2>&1; then
      verdict="CAUGHT $(sed -n '/tests FAILED:/,$p' "$log.test" | awk '/ - /{print $3; exit}')"
    fi
    [ "$verdict" = MISSED ] || { caught=$((caught + 1)); break; }
  done
  take_out
  echo "$name ($(builds_for "$patch" | paste -sd, -)): $verdict"
done
# The builds follow the code again, without the last fault.
for dir in build build-win build-win98; do
  [ ! -f "$dir/CMakeCache.txt" ] || cmake --build "$dir" -j2 >/dev/null 2>&1
done
echo "Caught $caught of $# (logs in $log_dir)"
