#!/usr/bin/env bash
# Builds the 32-bit Windows programs (preset windows-i686) and packs them: the
# installer qm71-<version>-setup.exe and the zip qm71-<version>-win32.zip in
# build/windows-i686. Prints their paths on the last two lines of standard
# output, everything else on standard error. scripts/check-windows-package.sh
# tries them under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows-i686
(
  scripts/install-deps.sh windows
  cmake --preset windows-i686 >/dev/null
  cmake --build --preset windows-i686 --target windows_package
) >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
echo "$PWD/$build/qm71-$version-setup.exe"
echo "$PWD/$build/qm71-$version-win32.zip"
