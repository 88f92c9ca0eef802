#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, for each
# preset named (default: "default"). "asan" is the sanitizer build; the
# Windows presets ("windows-i686", "windows-x64") cross-build with MinGW-w64
# and run the tests under Wine, in a Wine prefix of their own in the build
# folder, with the Linux camera emulator for the serial tests.
set -euo pipefail
cd "$(dirname "$0")/.."
(($#)) || set -- default

for preset in "$@"; do
  case "$preset" in
    windows-*)
      scripts/install-deps.sh windows
      # The serial tests talk to the Linux build's emulator through COM links.
      cmake --preset default >/dev/null
      cmake --build --preset default --target qm71-camsim
      export WINEDEBUG=-all WINEPREFIX="$PWD/build/$preset/wine"
      arch=win32
      [ "$preset" = windows-x64 ] && arch=win64
      if [ ! -e "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        WINEARCH=$arch wineboot -i >/dev/null 2>&1
      fi
      cmake --preset "$preset" -DQM71_CAMSIM="$PWD/build/default/sim/camsim/qm71-camsim" >/dev/null
      cmake --build --preset "$preset"
      status=0
      ctest --preset "$preset" || status=$?
      wineserver -k || true
      ((status == 0)) || exit $status
      ;;
    *)
      scripts/install-deps.sh
      cmake --preset "$preset" >/dev/null
      cmake --build --preset "$preset"
      ctest --preset "$preset"
      ;;
  esac
done
