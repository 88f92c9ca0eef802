#!/bin/bash
# Runs a Windows test program under Wine and starts qm71-camsim for it on the
# COM ports it asks for (see testing/win32/camsim.cpp):
#   camsim-wine.sh CAMSIM COMMAND...   e.g. camsim-wine.sh .../qm71-camsim wine x_tests.exe
# COMn of the Wine prefix leads to $WINEPREFIX/qm71-comN, the link the
# emulator makes to its terminal. Wine's mount manager sets the prefix's COM
# links whenever Wine starts, so the mapping goes into its registry key
# HKLM\Software\Wine\Ports (once per prefix) as well as into dosdevices.
# The emulators' log is appended to camsim-wine.log in the working folder.
set -u
camsim=$1
shift
prefix=${WINEPREFIX:-$HOME/.wine}
requests=$(mktemp -d "${TMPDIR:-/tmp}/qm71-camsim.XXXXXX") || exit 1
declare -A running

stop() {
    local pid=${running[$1]:-}
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    unset "running[$1]"
}

cleanup() {
    for port in "${!running[@]}"; do stop "$port"; done
    rm -rf "$requests"
}
trap cleanup EXIT

for n in 1 2; do
    if [ "$(readlink "$prefix/dosdevices/com$n")" != "$prefix/qm71-com$n" ]; then
        wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /d "$prefix/qm71-com$n" /f \
            >/dev/null 2>&1 || { echo "camsim-wine.sh: cannot map COM$n in $prefix" >&2; exit 1; }
        ln -sfn "$prefix/qm71-com$n" "$prefix/dosdevices/com$n"
    fi
done

# Carries out one request and answers it.
serve() {
    local request=$1 port answer=ok
    port=$(basename "$request" .request)
    port=${port#camsim-}
    local -a words
    mapfile -t words <"$request"
    rm -f "$request"
    stop "$port"
    case "$port:${words[0]:-}" in
    COM[0-9]*:start)
        local out="$requests/camsim-$port.out"
        : >"$out"
        "$camsim" --link "$prefix/qm71-com${port#COM}" "${words[@]:1}" >"$out" 2>>camsim-wine.log &
        running[$port]=$!
        # The emulator prints its terminal once the link is in place.
        for _ in $(seq 1000); do
            [ -s "$out" ] || ! kill -0 "${running[$port]}" 2>/dev/null && break
            sleep 0.01
        done
        [ -s "$out" ] || { answer="qm71-camsim did not start, see camsim-wine.log"; stop "$port"; }
        ;;
    COM[0-9]*:stop) ;;
    *) answer="unknown request $request: ${words[*]}" ;;
    esac
    echo "$answer" >"$requests/camsim-$port.answer" &&
        mv "$requests/camsim-$port.answer" "$requests/camsim-$port.done"
}

export QM71_CAMSIM_REQUESTS="Z:$requests"
"$@" &
test=$!
while kill -0 "$test" 2>/dev/null; do
    for request in "$requests"/camsim-*.request; do
        [ -e "$request" ] && serve "$request"
    done
    sleep 0.01
done
wait "$test"
