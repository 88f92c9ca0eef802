#!/usr/bin/env bash
# Images per second of QMDEMO from card to screen: the line demo on the
# unthrottled simulated line camera under a virtual 1280 x 1024 display, at
# 1:8 and at 1:1. It acquires only while its window has the keyboard focus,
# which it takes itself when shown.
# Usage: bench/qmdemo_fps.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
if [ -z "${QM71_FPS_DISPLAY:-}" ]; then
    # Once more, on a display of its own.
    QM71_FPS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
build="${1:-build/default}"
seconds="${2:-10}"
qmdemo="$(realpath "$build/linedemo/ui/qmdemo")"
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
export QM71_CONFIG_DIR="$config" QM71_SIM=fps=0 QM71_REPORT_FPS=1 QM71_DEVICE=sim

run() {  # run <label> <SCALE>
    printf '[CONFIG]\nSCALE=%s\n' "$2" >"$config/lcam71.ini"
    (cd "$config" && exec "$qmdemo") 2>"$config/err" &
    local pid=$!
    sleep "$seconds"
    local size
    size=$(xdotool search --name 'PXA/PXB1' getwindowgeometry | sed -n 's/ *Geometry: //p')
    kill -TERM "$pid"
    wait "$pid" || true
    echo "$1, client $size: $(grep 'images/s' "$config/err")"
}
run "1:8" 0
run "1:1" 3
