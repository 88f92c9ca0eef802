#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for N seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/install-deps.sh
cmake --preset fuzz >/dev/null
targets=$(cmake --build --preset fuzz --target help | sed -n 's/^\([a-z0-9_]*_fuzz\):.*/\1/p')
if [ -z "$targets" ]; then echo "no fuzz targets"; exit 0; fi
cmake --build --preset fuzz --target $targets
for t in $targets; do
  exe=$(find build/fuzz -type f -name "$t" -perm -u+x | head -n1)
  echo "fuzzing $t for ${seconds}s"
  mkdir -p "build/fuzz/corpus/$t"
  "$exe" -max_total_time="$seconds" -print_final_stats=0 "build/fuzz/corpus/$t" 2>&1 | tail -n 2
done
