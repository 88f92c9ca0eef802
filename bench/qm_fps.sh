#!/usr/bin/env bash
# Frames per second of QM from card to screen: the viewer on the unthrottled
# simulated card under a virtual 1280 x 1024 display, at x0.25 and at x1.
# Usage: bench/qm_fps.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build="${1:-build/default}"
seconds="${2:-10}"
qm="$build/viewer/ui/qm"
display=":$((90 + RANDOM % 100))"
config="$(mktemp -d)"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$config"' EXIT
sleep 1
export DISPLAY="$display" QM71_CONFIG_DIR="$config" QM71_SIM=fps=0 QM71_REPORT_FPS=1 QM71_DEVICE=sim

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
