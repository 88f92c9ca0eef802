#!/usr/bin/env bash
# Frames per second of QM from card to screen: the viewer on the unthrottled
# simulated card under a virtual 1280 x 1024 display, at x0.25 and at x1.
# Usage: bench/qm_fps.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
if [ -z "${QM71_FPS_DISPLAY:-}" ]; then
    # Once more, on a display of its own.
    QM71_FPS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
build="${1:-build/default}"
seconds="${2:-10}"
qm="$build/viewer/ui/qm"
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
export QM71_CONFIG_DIR="$config" QM71_SIM=fps=0 QM71_REPORT_FPS=1 QM71_DEVICE=sim

run() {  # run <label> <SCALE>
    printf '[CONFIG]\nSCALE=%s\n' "$2" >"$config/qm71.ini"
    "$qm" 2>"$config/err" &
    local pid=$!
    sleep "$seconds"
    local size
    size=$(xdotool search --name 'PXA1/PXB1' getwindowgeometry | sed -n 's/ *Geometry: //p')
    kill -TERM "$pid"
    wait "$pid" || true
    echo "$1, client $size: $(grep 'frames/s' "$config/err")"
}
run "x0.25" 0
run "x1" 2
