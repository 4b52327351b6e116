#!/bin/sh
# Builds the four programs and the zip a second time, from a copy of the sources in another
# folder, and compares them byte for byte with the release in build/dist.
# Usage: reproducible.sh <program tree> <dist> <scratch>
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$1 dist=$2 scratch=$3
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM
mkdir -p "$scratch/sources"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$scratch/sources" -xf -
# The same time as the first release: the last commit's.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
export SOURCE_DATE_EPOCH
# The program tree's toolchain and batching (unity build).
cmake -G Ninja -S "$scratch/sources" -B "$scratch/tree" \
    -DCMAKE_TOOLCHAIN_FILE="$scratch/sources/cmake/$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=.*\/\(.*\)\.cmake$/\1/p' "$tree/CMakeCache.txt").cmake" \
    -DCMAKE_UNITY_BUILD="$(sed -n 's/^CMAKE_UNITY_BUILD:[A-Z]*=//p' "$tree/CMakeCache.txt")" \
    >/dev/null || exit 1
cmake --build "$scratch/tree" -j 2 --target bwplan bwmap pkgrun quillscan >"$scratch/build.log" 2>&1 ||
    { tail -20 "$scratch/build.log"; exit 1; }
# A destination relative to the current folder, as a user may type it.
(cd "$scratch" && "$scratch/sources/scripts/release.sh" "$scratch/tree" dist >/dev/null) || exit 1

status=0
for zip in "$dist"/*.zip; do
    name=$(basename "$zip")
    folder=$(unzip -Z1 "$zip" | head -1)
    listing=$(unzip -Z1 "$zip" | tr '\n' ' ')
    expected="$folder ${folder}bwplan.exe ${folder}bwmap.exe ${folder}pkgrun.exe ${folder}quillscan.exe ${folder}README.txt ${folder}bwplan-sample.ini "
    [ "$listing" = "$expected" ] || { echo "$name holds: $listing"; status=1; }
    for f in bwplan.exe bwmap.exe pkgrun.exe quillscan.exe; do
        cmp "$dist/$folder$f" "$scratch/dist/$folder$f" || status=1
    done
    cmp "$zip" "$scratch/dist/$name" || status=1
    [ $status = 0 ] && echo "$name and its four programs are byte-identical in both builds"
done
exit $status
