#!/usr/bin/env bash
# Puts each fault of this folder into the code in turn, rebuilds what compiles the files it
# touches, runs those builds' tests and tells whether any test failed; the fault is always
# taken out again, also when the run is interrupted.
# Usage: tests/faults/run.sh [NAME...]   (names as in this folder, with or without .patch)
# Configure and build beforehand: build (preset linux) and, for the Windows faults,
# build-win (scripts/test-windows.sh) and, when present, build-win98.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
log_dir="${FAULTS_LOG_DIR:-$(mktemp -d)}"
patches=(tests/faults/*.patch)
[ $# -gt 0 ] && patches=("${@/#/tests/faults/}") && patches=("${patches[@]%.patch}") &&
  patches=("${patches[@]/%/.patch}")

applied=""
take_out() { [ -z "$applied" ] || { git apply -R "$applied" && applied=""; }; }
trap take_out EXIT
trap 'take_out; exit 130' INT TERM

# The builds that compile a file: Qt and POSIX code only the Linux one, Win32 code only the
# Windows ones, the rest (shared code, the build's own files) all of them.
builds_for() {
  local linux=0 windows=0 file
  for file in $(git apply --numstat "$1" | cut -f3); do
    case "$file" in
      toolkit/qt/* | app/linux/* | fileops/*posix* | fileops/wine_*) linux=1 ;;
      toolkit/win32/* | fileops/*win32*) windows=1 ;;
      *) linux=1 windows=1 ;;
    esac
  done
  [ $linux = 1 ] && echo build
  if [ $windows = 1 ]; then
    for dir in build-win build-win98; do [ -f "$dir/CMakeCache.txt" ] && echo "$dir"; done
  fi
}

# Prints the first failing test of a build, or nothing when all pass.
first_failure() {
  cmake --build "$1" -j2 >"$2.build" 2>&1 || { echo "(build of $1 failed)"; return; }
  ctest --test-dir "$1" -j2 --timeout 300 >"$2.test" 2>&1 ||
    sed -n '/tests FAILED:/,$p' "$2.test" | awk '/ - /{print $3; exit}'
}

results=()
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  git apply "$patch" || { results+=("$name|-|DOES NOT APPLY|"); continue; }
  applied=$patch
  verdict=MISSED caught_by="" ran=""
  for dir in $(builds_for "$patch"); do
    ran+="${ran:+,}$dir"
    caught_by=$(first_failure "$dir" "$log_dir/$name.$dir")
    [ -n "$caught_by" ] && verdict=CAUGHT && break  # the first failure is enough
  done
  take_out
  results+=("$name|$ran|$verdict|$caught_by")
  echo "$name: $verdict $caught_by" >&2
done

# The builds follow the code again, without the last fault.
for dir in build build-win build-win98; do
  [ -f "$dir/CMakeCache.txt" ] && cmake --build "$dir" -j2 >/dev/null 2>&1
done

printf '%-40s %-22s %-8s %s\n' FAULT BUILDS RESULT "FIRST FAILING TEST"
printf '%s\n' "${results[@]}" | while IFS='|' read -r name ran verdict by; do
  printf '%-40s %-22s %-8s %s\n' "$name" "$ran" "$verdict" "$by"
done
echo "Caught $(printf '%s\n' "${results[@]}" | grep -c '|CAUGHT|') of ${#results[@]} (logs in $log_dir)"
