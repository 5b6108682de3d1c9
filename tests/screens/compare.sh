#!/bin/sh
# Runs a program that saves pictures of the windows in the current folder, then compares
# each, pixel for pixel, with its reference NAME-PICTURE.png beside this script. A pixel
# differs when one of its channels is off by 8 or more (of 255); none may differ, since the
# pictures come out the same on every run, and a line one pixel short is a fault.
# The pictures, and one of the differences for each mismatch, stay in ./NAME.
# Usage: compare.sh NAME COMMAND...; with CINDERMOOR_NEW_SCREENS=1 the pictures become the
# new references: look at each before committing it.
set -eu
fuzz=3%
here="$(cd "$(dirname "$0")" && pwd)"
name="$1"
shift
rm -rf "$name"
mkdir "$name"
(cd "$name" && "$@")
status=0
for shot in "$name"/*; do
  picture="$(basename "${shot%.*}")"
  reference="$here/$name-$picture.png"
  if [ -n "${CINDERMOOR_NEW_SCREENS:-}" ]; then
    convert "$shot" -define png:exclude-chunks=date,time "png24:$reference"
    echo "new reference: $reference"
    continue
  fi
  differing="$(compare -metric AE -fuzz "$fuzz" "$shot" "$reference" \
    "$name/differences-$picture.png" 2>&1)" || true
  echo "$name-$picture: $differing pixels differ"
  case "$differing" in
    '' | *[!0-9]*) status=1 ;;
    *) [ "$differing" -eq 0 ] || status=1 ;;
  esac
done
exit "$status"
