#!/bin/sh
# Configures and builds the trees: build/win32 (the 32-bit programs), build/native (portable
# logic, unit tests; its CTest run includes the Windows tests of the test tree and the native
# tests again from build/asan, built with sanitizers) and, on a machine that cannot run 32-bit
# Wine, build/win64 (the same programs built for 64-bit Wine); then the release in build/dist
# (scripts/release.sh).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
. "$root/scripts/wine-env.sh"

windows_tree() {  # arch toolchain
    cmake -S "$root" -B "$root/build/$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2.cmake" >/dev/null
    cmake --build "$root/build/$1" -j "$jobs"
}
windows_tree win32 mingw-i686
if [ "$BAYKIT_TEST_ARCH" = win64 ]; then
    echo "build: this machine cannot run 32-bit Wine; the Windows tests run against build/win64" >&2
    windows_tree win64 mingw-x86_64
fi
# The release from the 32-bit programs; the test tree's twin packages where it differs.
"$root/scripts/release.sh" "$root/build/win32" "$root/build/dist" >/dev/null
if [ "$BAYKIT_TEST_ARCH" = win64 ]; then
    "$root/scripts/release.sh" "$root/build/win64" "$root/build/win64/dist" >/dev/null
fi
cmake -S "$root" -B "$root/build/asan" -DBAYKIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/asan" -j "$jobs"
cmake -S "$root" -B "$root/build/native" -DBAYKIT_WIN32_TREE="$BAYKIT_TEST_TREE" \
    -DBAYKIT_ASAN_TREE="$root/build/asan" -DBAYKIT_PROGRAM_TREE="$root/build/win32" \
    -DBAYKIT_DIST_DIR="$root/build/dist" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
