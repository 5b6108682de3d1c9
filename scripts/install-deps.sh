#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Cindermoor, when missing.
# Usage: scripts/install-deps.sh [--tests]
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libqscintilla2-qt6-dev
          libgl-dev libxcb1-dev libfontconfig-dev fonts-wine fonts-dejavu-core)
for arg in "$@"; do
  case "$arg" in
    # xvfb, openbox, x11-utils: windows as a window manager frames them.
    # imagemagick: compares the windows with their reference pictures.
    --tests) packages+=(googletest libgtest-dev util-linux mount desktop-file-utils
                        appstream dpkg-dev xvfb openbox x11-utils imagemagick) ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
