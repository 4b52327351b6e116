#!/bin/sh
# Configures and builds both trees: build/native (portable logic, unit tests) and build/win32.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

cmake -S "$root" -B "$root/build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j "$jobs"
cmake -S "$root" -B "$root/build/native" -DBAYKIT_WIN32_TREE="$root/build/win32" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
