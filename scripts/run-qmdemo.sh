#!/usr/bin/env bash
# Installs what is missing, builds the line-camera demo QMDEMO and starts it.
# Without QM71_DEVICE it runs on the simulated line camera.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target qmdemo
exec build/default/linedemo/ui/qmdemo "$@"
