#!/bin/sh
# Installs the library from its build folder into a temporary prefix, builds
# a program outside the project against it with find_package(qm71), runs it.
# Usage: check_install.sh <library build folder> <consumer source folder>
set -eu
build=$1
source=$2
if ! command -v cmake >/dev/null; then
    echo "cmake not found: cannot build the outside program"
    exit 77
fi
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$build/cmake_install.cmake" >/dev/null
test -f "$prefix/include/qm71/qm71port.h"
cmake -S "$source" -B "$prefix/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/build" >/dev/null
"$prefix/build/consumer"
echo "the installed library links and grabs"
