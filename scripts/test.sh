#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# With "asan" as argument the same happens in the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
