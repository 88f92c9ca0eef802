#!/bin/bash
# Runs a Windows test program under Wine and starts qm71-camsim for it on the
# COM ports it asks for (see testing/win32/camsim.cpp):
#   camsim-wine.sh CAMSIM COMMAND...   e.g. camsim-wine.sh .../qm71-camsim wine x_tests.exe
# COMn of the Wine prefix leads to $WINEPREFIX/qm71-comN, the link the
# emulator makes to its terminal. Wine's mount manager sets the prefix's COM
# links whenever Wine starts, so the mapping goes into its registry key
# HKLM\Software\Wine\Ports (once per prefix) as well as into dosdevices.
# Runs in one prefix wait for each other. The emulators' log is appended to
# camsim-wine.log in the working folder.
set -u
camsim=$1
shift
prefix=${WINEPREFIX:-$HOME/.wine}
# One run at a time per prefix: the COM ports are the prefix's. Nothing this
# script starts gets the lock's descriptor (9>&-), or a wineserver that
# outlives the run would hold the lock.
exec 9>"$prefix/qm71-camsim.lock" && flock 9 || exit 1
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
trap "exit 143" TERM INT

mapped() {
    [ "$(readlink "$prefix/dosdevices/com1")" = "$prefix/qm71-com1" ] &&
        [ "$(readlink "$prefix/dosdevices/com2")" = "$prefix/qm71-com2" ]
}
if ! mapped; then
    # Both at once: a running mount manager redoes every COM link on a change.
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\n"COM1"="%s"\n"COM2"="%s"\n' \
        "$prefix/qm71-com1" "$prefix/qm71-com2" >"$requests/ports.reg"
    wine reg import "Z:$requests/ports.reg" >/dev/null 2>&1 9>&- ||
        { echo "camsim-wine.sh: cannot map COM1 and COM2 in $prefix" >&2; exit 1; }
    for _ in $(seq 50); do mapped && break; sleep 0.1; done
    mapped || for n in 1 2; do ln -sfn "$prefix/qm71-com$n" "$prefix/dosdevices/com$n"; done
fi

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
        "$camsim" --link "$prefix/qm71-com${port#COM}" "${words[@]:1}" >"$out" 2>>camsim-wine.log 9>&- &
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
"$@" 9>&- &
test=$!
while kill -0 "$test" 2>/dev/null; do
    for request in "$requests"/camsim-*.request; do
        [ -e "$request" ] && serve "$request"
    done
    sleep 0.01
done
wait "$test"
