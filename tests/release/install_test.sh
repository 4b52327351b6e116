#!/bin/sh
# Installs and removes the packages under Wine in a prefix of its own, made here and deleted
# afterwards, and runs the programs of the unpacked zip.
# Usage: install_test.sh <release_wine_tests.exe> <release.msi> <runnable.msi> <runnable.zip> <scratch>
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
tests=$1 release_msi=$2 runnable_msi=$3 runnable_zip=$4 scratch=$5
for f in "$tests" "$release_msi" "$runnable_msi" "$runnable_zip"; do
    [ -f "$f" ] || { echo "missing $f (run scripts/build.sh)"; exit 1; }
done
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM
mkdir -p "$scratch/unpacked"
unzip -q "$runnable_zip" -d "$scratch/unpacked" || exit 1
unpacked=$(echo "$scratch"/unpacked/*)
# The session makes the prefix, runs one wineserver for it and stops it at the end. It runs on
# a display of its own: two prefixes' desktops on one display share its clipboard and windows.
env -u DISPLAY WINEPREFIX="$scratch/prefix" "$root/scripts/wine-session.sh" \
    "$root/scripts/wine-exec.sh" "$tests" "$release_msi" "$runnable_msi" "$unpacked" </dev/null
