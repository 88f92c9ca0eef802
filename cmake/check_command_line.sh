#!/bin/sh
# check_command_line.sh PROGRAM NAME VERSION
# What every QM71 program does with its command line, with no display at
# hand: --version names the program and its version, --help begins with the
# usage line, and an unknown option is refused with a message on standard
# error and status 2.
set -u
exe=$1 name=$2 version=$3
fail() {
    echo "$exe: $*" >&2
    exit 1
}
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

out=$("$exe" --version) || fail "--version ended with status $?"
[ "$out" = "$name $version" ] || fail "--version said \"$out\", not \"$name $version\""

out=$("$exe" --help) || fail "--help ended with status $?"
case $out in
    "Usage: $name "*) ;;
    *) fail "--help does not begin with \"Usage: $name\"" ;;
esac

err=$("$exe" --no-such-option 2>&1 >/dev/null)
status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status, not 2"
[ -n "$err" ] || fail "an unknown option was refused without a word on standard error"
echo "$name: --version, --help and an unknown option answered as they should"
