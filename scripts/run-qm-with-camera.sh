#!/usr/bin/env bash
# Starts the camera emulator on a pseudo-terminal as COM1 and the viewer QM
# beside it; the emulator's log (every command QM sends) goes to
# build/default/camsim.log. Options are passed to the emulator, e.g. --silent.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target qm qm71-camsim
link="${TMPDIR:-/tmp}/qm71-com1-$$"
build/default/sim/camsim/qm71-camsim --link "$link" "$@" 2>build/default/camsim.log >/dev/null &
camsim=$!
trap 'kill $camsim 2>/dev/null; wait $camsim 2>/dev/null || true' EXIT
while [ ! -e "$link" ]; do
  kill -0 "$camsim" 2>/dev/null || { cat build/default/camsim.log; exit 1; }
  sleep 0.1
done
QM71_COM1="$link" build/default/viewer/ui/qm
