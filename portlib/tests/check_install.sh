#!/bin/sh
# Installs the library from its build folder into a temporary prefix, builds
# a program outside the project against it with find_package(qm71), runs it.
# Usage: check_install.sh <library build folder> <consumer source folder>
#                          [<toolchain file> <emulator>]   (cross builds)
set -eu
build=$1
source=$2
toolchain=${3:-}
emulator=${4:-}
if ! command -v cmake >/dev/null; then
    echo "cmake not found: cannot build the outside program"
    exit 77
fi
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$build/cmake_install.cmake" >/dev/null
test -f "$prefix/include/qm71/qm71port.h"
if [ -n "$toolchain" ]; then
    # A cross toolchain looks for packages only below its own root.
    set -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -Dqm71_DIR="$prefix/lib/cmake/qm71"
else
    set --
fi
cmake -S "$source" -B "$prefix/build" -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
cmake --build "$prefix/build" >/dev/null
program=$prefix/build/consumer
[ -f "$program.exe" ] && program=$program.exe
$emulator "$program"
echo "the installed library links and grabs"
