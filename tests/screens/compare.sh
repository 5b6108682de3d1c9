#!/bin/sh
# Runs a program that saves pictures of the windows in ./NAME, then compares each with its
# reference NAME-PICTURE.png beside this script: no pixel may have a channel off by 8 or more
# (of 255), since a line one pixel short is a fault. Differences stay in ./NAME.
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
  [ "$differing" = 0 ] || status=1 # also when compare found no number
done
exit "$status"
