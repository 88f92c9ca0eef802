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
      # A full disk for the save tests, where the machine lets us mount a tiny one.
      small="$PWD/build/$preset/small-disk"
      mkdir -p "$small"
      if mountpoint -q "$small" || mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
        export QM71_SMALL_DISK="Z:${small//\//\\}"
      fi
      # On an X display of their own, since Wine makes real windows; Wine's
      # services started once, not by the first test (they would hold its
      # output open).
      status=0
      xvfb-run -a bash -c 'wineserver -p </dev/null >/dev/null 2>&1
        wine cmd /c exit </dev/null >/dev/null 2>&1
        ctest --preset "$1"' - "$preset" || status=$?
      wineserver -k || true
      if mountpoint -q "$small"; then umount "$small" || true; fi
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
