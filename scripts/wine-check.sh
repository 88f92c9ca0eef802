# Sourced by the scripts that try the Windows programs under Wine: a throwaway
# 32-bit Wine prefix, failures counted rather than ending the script, and the
# verdict at the end.

# fail TEXT: one failed check.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# wine_prefix DIR: a new 32-bit prefix in DIR, without menu entries for the
# Linux desktop and without offers to install Mono or Gecko; ended with the script.
wine_prefix() {
    export WINEPREFIX=$1 WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
    trap 'wineserver -k 2>/dev/null' EXIT
    wineboot -i >/dev/null 2>&1 || { echo "wineboot failed to make $WINEPREFIX" >&2; exit 1; }
}

# verdict WHAT WORK SUCCESS: exits 1 naming WHAT when a check failed (WORK is
# kept to look at), else removes WORK and says SUCCESS.
verdict() {
    if ((failures)); then
        echo "$failures checks of $1 failed (files kept: $2)" >&2
        exit 1
    fi
    wineserver -k 2>/dev/null
    rm -rf "$2"
    echo "$3"
}
