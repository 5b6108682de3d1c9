#!/usr/bin/env bash
# The Windows builds: installs Debian's mingw-w64 cross compilers and Wine, cross-builds
# the 64-bit cindermoor.exe and its tests (GoogleTest compiled from Debian's source package
# with the same compiler), and runs the tests under Wine in a fresh prefix with the null
# graphics driver, so that no display is needed; those of the paths of Windows 98 and Me
# run again with Wine reporting Windows 98. Then builds the 32-bit cindermoor.exe (Windows
# 98 SE to 11), checks what it imports, and leaves both zips in the build folders.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
          wine wine64 googletest fonts-dejavu-core unzip xvfb imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=build-win
toolchain="$PWD/cmake/mingw-w64-x86_64.cmake"
gtest="$PWD/$build/gtest-mingw"
if [ ! -f "$gtest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "Cross-compiling GoogleTest"
  cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest/install" \
        >/dev/null
  cmake --build "$gtest/build" >/dev/null
  cmake --install "$gtest/build" >/dev/null
fi

prefix="$(mktemp -d)"
cleanup() {
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
  rm -rf "$prefix"
  # Later runs of ctest by hand use the build folder's own prefix again.
  cmake -U CINDERMOOR_WINE_PREFIX -S . -B "$build" >/dev/null 2>&1 || true
}
trap cleanup EXIT

cmake --preset windows-cross \
      -DCINDERMOOR_MINGW_PREFIX="$gtest/install" -DCINDERMOOR_WINE_PREFIX="$prefix"
cmake --build --preset windows-cross
ctest --preset windows-cross

# No 32-bit Wine here: the 32-bit build's tests examine the executable and its zip.
cmake --preset windows98-cross
cmake --build --preset windows98-cross
ctest --preset windows98-cross

for dir in build-win build-win98; do
  (cd "$dir" && cpack -G ZIP >/dev/null && ls "$PWD"/cindermoor-*.zip)
done
