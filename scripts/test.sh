#!/bin/sh
# Installs what is missing, builds the trees and runs every test in one CTest run; one phase
# line with its time for the set-up, each tree and CTest.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/phase.sh"
phase set-up "$root/scripts/setup.sh"
"$root/scripts/build.sh"
status=0
phase ctest "$root/scripts/wine-session.sh" ctest --test-dir "$root/build/native" --output-on-failure \
    -j "$(nproc)" "$@" || status=$?
exit "$status"
