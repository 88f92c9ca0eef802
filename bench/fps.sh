#!/usr/bin/env bash
# Images per second of a program from card to screen, on the unthrottled
# simulated card under a virtual 1280 x 1024 display, at its smallest scale and
# at 1:1: QM (x0.25, x1) or QMDEMO (1:8, 1:1; it acquires only while its window
# has the keyboard focus, which it takes itself when shown).
# Usage: bench/fps.sh qm|qmdemo [BUILD_DIR] [SECONDS]
set -euo pipefail
if [ -z "${QM71_FPS_DISPLAY:-}" ]; then
    # Once more, on a display of its own.
    QM71_FPS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
program="${1:?usage: bench/fps.sh qm|qmdemo [BUILD_DIR] [SECONDS]}"
build="${2:-build/default}"
seconds="${3:-10}"
case "$program" in
    qm) exe=viewer/ui/qm ini=qm71.ini caption='PXA1/PXB1' scales=("x0.25 0" "x1 2") ;;
    qmdemo) exe=linedemo/ui/qmdemo ini=lcam71.ini caption='PXA/PXB1' scales=("1:8 0" "1:1 3") ;;
    *) echo "bench/fps.sh: unknown program \"$program\" (qm or qmdemo)" >&2; exit 2 ;;
esac
exe="$(realpath "$build/$exe")"
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
export QM71_CONFIG_DIR="$config" QM71_SIM=fps=0 QM71_REPORT_FPS=1 QM71_DEVICE=sim

for entry in "${scales[@]}"; do
    read -r label scale <<<"$entry"
    printf '[CONFIG]\nSCALE=%s\n' "$scale" >"$config/$ini"
    # From the config folder, so that QMDEMO's captures would land there.
    (cd "$config" && exec "$exe") 2>"$config/err" &
    pid=$!
    sleep "$seconds"
    size=$(xdotool search --name "$caption" getwindowgeometry | sed -n 's/ *Geometry: //p')
    kill -TERM "$pid"
    wait "$pid" || true
    echo "$label, client $size: $(grep -E '(frames|images)/s' "$config/err")"
done
