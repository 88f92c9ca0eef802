#!/usr/bin/env bash
# Builds the Debian package of the programs from the build of a preset (default
# "default") and prints its path on standard output, everything else on standard
# error: build/<preset>/qm71_<version>_<arch>.deb. Install it with
# `apt install ./build/default/qm71_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
(
  scripts/install-deps.sh
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  cd "build/$preset"
  rm -f qm71_*.deb
  cpack -G DEB
) >&2
ls "$PWD"/build/"$preset"/qm71_*.deb
