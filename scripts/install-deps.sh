#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the GUI checks need;
# with "windows" also what cross-builds the Windows programs and runs their
# tests: MinGW-w64, GoogleTest's sources, 32-bit Wine (the i386 architecture is
# added to dpkg for it) and NSIS. Does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  xvfb xauth x11-utils xdotool imagemagick socat
  help2man desktop-file-utils dpkg-dev file
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ "${1:-}" = windows ]; then
  packages+=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
    binutils-mingw-w64-x86-64 googletest wine wine32:i386 wine64 nsis zip
  )
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
