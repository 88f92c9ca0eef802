#!/usr/bin/env bash
# Starts the camera emulator as the sample camera on a pseudo-terminal as COM2
# and QM71SAMPLE beside it, on the simulated card; the emulator's log (every
# command the sample sends) goes to build/default/camsim-sample.log. Options
# are passed to the emulator, e.g. --silent.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target qm71sample qm71-camsim
link="${TMPDIR:-/tmp}/qm71-com2-$$"
build/default/sim/camsim/qm71-camsim --sample --link "$link" "$@" \
  2>build/default/camsim-sample.log >/dev/null &
camsim=$!
trap 'kill $camsim 2>/dev/null; wait $camsim 2>/dev/null || true' EXIT
while [ ! -e "$link" ]; do
  kill -0 "$camsim" 2>/dev/null || { cat build/default/camsim-sample.log; exit 1; }
  sleep 0.1
done
QM71_COM2="$link" build/default/sample/ui/qm71sample
