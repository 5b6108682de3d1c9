#!/usr/bin/env bash
# Puts each fault of this folder into the code in turn, rebuilds what compiles the files it
# touches, runs those builds' tests and tells whether any test failed; the fault is always
# taken out again, also when the run is interrupted.
# Usage: tests/faults/run.sh [NAME...]   (names as in this folder, with or without .patch)
# The builds must be configured and built once beforehand: build (preset linux) and, for the
# Windows faults, build-win (scripts/test-windows.sh) and, when present, build-win98.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
faults_dir=tests/faults
log_dir="${FAULTS_LOG_DIR:-$(mktemp -d)}"

patches=()
if [ $# -eq 0 ]; then
  patches=("$faults_dir"/*.patch)
else
  for name in "$@"; do patches+=("$faults_dir/${name%.patch}.patch"); done
fi

applied=""
take_out() {
  if [ -n "$applied" ]; then
    git apply -R "$applied" && applied=""
  fi
}
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
  local dir=$1 out=$2
  if ! cmake --build "$dir" -j2 >"$out.build" 2>&1; then
    echo "(build of $dir failed)"
    return
  fi
  ctest --test-dir "$dir" -j2 --timeout 300 >"$out.test" 2>&1 && return
  sed -n '/tests FAILED:/,$p' "$out.test" | awk '/ - /{print $3; exit}'
}

results=()
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  if ! git apply "$patch"; then
    results+=("$name|-|DOES NOT APPLY|")
    continue
  fi
  applied=$patch
  verdict=MISSED caught_by="" ran=""
  for dir in $(builds_for "$patch"); do
    ran+="${ran:+,}$dir"
    failed=$(first_failure "$dir" "$log_dir/$name.$dir")
    if [ -n "$failed" ]; then
      verdict=CAUGHT caught_by=$failed
      break  # the first failure is enough
    fi
  done
  take_out
  results+=("$name|$ran|$verdict|$caught_by")
  echo "$name: $verdict $caught_by" >&2
done

# The builds follow the code again, without the last fault.
for dir in build build-win build-win98; do
  [ -f "$dir/CMakeCache.txt" ] && cmake --build "$dir" -j2 >/dev/null 2>&1
done

caught=$(printf '%s\n' "${results[@]}" | grep -c '|CAUGHT|')
printf '%-40s %-22s %-8s %s\n' FAULT BUILDS RESULT "FIRST FAILING TEST"
printf '%s\n' "${results[@]}" | while IFS='|' read -r name ran verdict by; do
  printf '%-40s %-22s %-8s %s\n' "$name" "$ran" "$verdict" "$by"
done
echo "Caught $caught of ${#results[@]} (logs in $log_dir)"
