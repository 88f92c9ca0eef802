#!/usr/bin/env bash
# What a program costs at the camera's pace: the share of one core and the CPU
# time per shown image, on the simulated card at FPS frames per second under a
# virtual 1280 x 1024 display. CPU time is the process's user + system time
# from /proc over SECONDS, counted from one second after the start (the card's
# bring-up is not part of the pace).
#   qm          live frames at its default scale
#   qmdemo      live images (it acquires while its window has the focus, which
#               it takes itself when shown)
#   qm71sample  one F7 grab (the average of 4 frames) every half second, with
#               the camera emulator on COM2
# Usage: bench/cpu.sh qm|qmdemo|qm71sample [FPS] [BUILD_DIR] [SECONDS]
set -euo pipefail
if [ -z "${QM71_CPU_DISPLAY:-}" ]; then
    QM71_CPU_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
program="${1:?usage: bench/cpu.sh qm|qmdemo|qm71sample [FPS] [BUILD_DIR] [SECONDS]}"
fps="${2:-15}"
build="${3:-build/default}"
seconds="${4:-10}"
case "$program" in
    qm) exe=viewer/ui/qm ;;
    qmdemo) exe=linedemo/ui/qmdemo ;;
    qm71sample) exe=sample/ui/qm71sample ;;
    *) echo "bench/cpu.sh: unknown program \"$program\" (qm, qmdemo or qm71sample)" >&2; exit 2 ;;
esac
exe="$(realpath "$build/$exe")"
camsim="$(realpath "$build/sim/camsim/qm71-camsim")"
work="$(mktemp -d)"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export QM71_CONFIG_DIR="$work" QM71_SIM="fps=$fps" QM71_REPORT_FPS=1 QM71_DEVICE=sim

if [ "$program" = qm71sample ]; then
    "$camsim" --sample --link "$work/com2" >/dev/null 2>&1 &
    pids+=($!)
    while [ ! -e "$work/com2" ]; do
        kill -0 "${pids[0]}" 2>/dev/null || { echo "bench/cpu.sh: $camsim did not start" >&2; exit 1; }
        sleep 0.1
    done
    export QM71_COM2="$work/com2"
fi

# Clock ticks of user + system time the process has used.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

(cd "$work" && exec "$exe") 2>"$work/err" &
pid=$!
pids+=("$pid")
sleep 1
grabs=0
if [ "$program" = qm71sample ]; then
    window=$(timeout 20 xdotool search --sync --name 'QM71 is ready')
    before=$(cpu_ticks "$pid")
    start=$(date +%s.%N)
    for ((i = 0; i < seconds * 2; ++i)); do
        xdotool key --window "$window" F7
        grabs=$((grabs + 1))
        sleep 0.5
    done
else
    before=$(cpu_ticks "$pid")
    start=$(date +%s.%N)
    sleep "$seconds"
fi
after=$(cpu_ticks "$pid")
end=$(date +%s.%N)
kill -TERM "$pid"
wait "$pid" || true
rate=$(grep -oE '\(([0-9.]+) (frames|images)/s\)' "$work/err" | grep -oE '[0-9.]+' | head -1 || true)
awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s0="$start" -v s1="$end" \
    -v rate="${rate:-0}" -v grabs="$grabs" -v program="$program" -v fps="$fps" 'BEGIN {
    cpu = t / hz; wall = s1 - s0
    shown = grabs > 0 ? grabs : rate * wall
    printf "%s at fps=%s: %.1f %% of a core over %.1f s", program, fps, 100 * cpu / wall, wall
    if (shown > 0) printf ", %.0f images shown, %.1f ms CPU per image", shown, 1000 * cpu / shown
    printf "\n"
}'
