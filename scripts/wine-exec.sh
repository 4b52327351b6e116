#!/bin/sh
# Runs one Windows program under Wine in the test tree's private prefix (CTest's emulator).
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
exec "$WINE" "$@"
