#!/usr/bin/env bash
# Starts QM and QMDEMO of a Windows build (default build/windows-i686) under
# Wine on the simulated card, one after the other, as a user would, and checks
# that each shows a picture (the screen is not black), draws images while it
# runs, and writes its settings file with all its keys when it is closed.
# Needs an X display (e.g. xvfb-run -a -s "-screen 0 1280x1024x24"), 32-bit
# Wine and ImageMagick. Takes about half a minute.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows-i686}")
work=$build/programs-check
rm -rf "$work"
mkdir -p "$work/config" "$work/captures"

source scripts/wine-check.sh
wine_prefix "$work/wine"
export QM71_DEVICE=sim QM71_REPORT_FPS=1 QM71_CONFIG_DIR="Z:${work//\//\\}\\config"

# check EXE INI KEYS: runs the program a few seconds, looks at the screen,
# closes it as the system does at log-off and reads what it left.
check() {
    local exe=$build/$1 name=${1##*/} ini=$work/config/$2 keys=$3
    local base=${name%.exe}
    (cd "$work/captures" && exec wine "$exe" >"$work/$base.out" 2>&1) &
    local pid=$!
    sleep 8
    import -window root "$work/$base.png"
    # The share of the screen that is not black: the picture, not a caption.
    local lit
    lit=$(convert "$work/$base.png" -fill white +opaque black -format '%[fx:mean]' info:)
    awk -v l="$lit" 'BEGIN { exit !(l > 0.01) }' || fail "$name: the screen is black ($lit lit)"
    wine taskkill /im "$name" >/dev/null 2>&1
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    kill -0 $pid 2>/dev/null && { fail "$name did not end when closed"; kill $pid; }
    wait $pid 2>/dev/null
    local drawn
    drawn=$(sed -n 's/.*: \([0-9]*\) .* drawn in .*/\1/p' "$work/$base.out" | tr -d '\r')
    [ "${drawn:-0}" -gt 0 ] || fail "$name drew nothing: $(tr -d '\r' <"$work/$base.out")"
    [ -f "$ini" ] || { fail "$name left no $2"; return; }
    local written
    written=$(grep -c '=' "$ini")
    [ "$written" -eq "$keys" ] || fail "$2 holds $written keys, not $keys"
    echo "$name: $drawn images drawn, $lit of the screen lit, $2 with $written keys"
}

check viewer/win32/qm.exe qm71.ini 11
check linedemo/win32/qmdemo.exe lcam71.ini 15

verdict "the Windows programs" "$work" "the Windows programs show their pictures and keep their settings"
