#!/usr/bin/env bash
# Installs what is missing, builds the viewer QM and the camera emulator, and
# starts QM.
# Without QM71_DEVICE it runs on the simulated card.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target qm qm71-camsim
exec build/default/viewer/ui/qm "$@"
