#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for N seconds (default 60),
# as the ctest tests labelled "fuzz" of the fuzz preset. What they found is kept in
# build/fuzz/corpus, a crashing input in build/fuzz/fuzz-artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/install-deps.sh
cmake --preset fuzz -DQM71_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz -L fuzz
