#!/bin/sh
# Configures and builds the trees: build/win32 (the 32-bit programs), build/native (portable
# logic, unit tests; its CTest run includes the Windows tests of the test tree and the native
# tests again from build/asan, built with sanitizers) and, on a machine that cannot run 32-bit
# Wine, build/win64 (the same programs built for 64-bit Wine); then the release in build/dist
# (scripts/release.sh). Each tree builds only what this machine tests, and each prints one
# phase line with its time.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
. "$root/scripts/wine-env.sh"
. "$root/scripts/phase.sh"

# tree NAME TARGETS [cmake options...]: a Ninja tree of its own, building TARGETS (all when
# empty); a tree that an older checkout configured for another generator is configured anew.
tree() {
    dir=$root/build/$1
    targets=$2
    shift 2
    if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$dir/CMakeCache.txt"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    mkdir -p "$dir"
    # shellcheck disable=SC2086
    { cmake -G Ninja -S "$root" -B "$dir" "$@" >"$dir.log" 2>&1 &&
        cmake --build "$dir" -j "$jobs" ${targets:+--target $targets} >>"$dir.log" 2>&1; } ||
        { tail -n 40 "$dir.log" >&2; return 1; }
}

programs="bwplan bwmap pkgrun quillscan"
# Every tree compiles each target in batches of sources (unity builds): the headers that the
# sources share are compiled once per batch, not once per file. The release's programs are built
# as the tests' twins are.
unity=-DCMAKE_UNITY_BUILD=ON
if [ "$BAYKIT_TEST_ARCH" = win64 ]; then
    echo "build: this machine cannot run 32-bit Wine; the Windows tests run against build/win64" >&2
    # The 32-bit tree's tests cannot run here: it builds the programs alone.
    phase "build/win32 (the programs)" tree win32 "$programs" $unity -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
    phase build/win64 tree win64 "" $unity -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
else
    phase build/win32 tree win32 "" $unity -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
fi
# The release from the 32-bit programs; the test tree's twin packages where it differs.
release() {
    "$root/scripts/release.sh" "$root/build/win32" "$root/build/dist" >/dev/null &&
        if [ "$BAYKIT_TEST_ARCH" = win64 ]; then
            "$root/scripts/release.sh" "$root/build/win64" "$root/build/win64/dist" >/dev/null
        fi
}
phase release release
# The sanitizer tree runs the unit tests again. Unoptimised (-O0), its reports are exact and it
# builds in two thirds of the time -O1 takes; line tables (-g1) are all the debug information its
# reports need.
phase build/asan tree asan "" $unity -DBAYKIT_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O0 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O0 -g1 -DNDEBUG"
phase build/native tree native "" $unity -DBAYKIT_WIN32_TREE="$BAYKIT_TEST_TREE" \
    -DBAYKIT_ASAN_TREE="$root/build/asan" -DBAYKIT_PROGRAM_TREE="$root/build/win32" \
    -DBAYKIT_DIST_DIR="$root/build/dist"
