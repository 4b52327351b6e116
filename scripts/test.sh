#!/bin/sh
# Installs what is missing, builds both trees and runs every test in one CTest run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "$root/scripts/wine-session.sh" ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)" "$@"
