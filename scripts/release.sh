#!/bin/sh
# Makes the Windows release from a Windows build tree: a zip with the programs, a README and a
# sample catalogue in one folder, and an MSI built with wixl from release/baywise.wxs.
# Usage: release.sh [TREE [DEST]]   (defaults: build/win32, build/dist)
# The zip is reproducible: fixed order, no extra fields, every time set to SOURCE_DATE_EPOCH
# (default: the time of the last commit). The MSI is not: wixl stamps it with the build time
# and a fresh package code.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$root/build/win32}" && pwd)
dest=${2:-$root/build/dist}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)  # the packages are made from inside it

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
[ -n "$version" ] || { echo "release: no project version in $tree/CMakeCache.txt" >&2; exit 1; }
case $(x86_64-w64-mingw32-objdump -f "$tree/mapper/win32/bwplan.exe") in
    *pei-i386*) arch=x86 suffix=win32 msi_suffix="" ;;
    *pei-x86-64*) arch=x64 suffix=win64 msi_suffix=-win64 ;;
    *) echo "release: $tree/mapper/win32/bwplan.exe is not a Windows program" >&2; exit 1 ;;
esac
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi

folder=baywise-$version
zip=$dest/$folder-$suffix.zip
msi=$dest/baywise-$version$msi_suffix.msi
stage=$dest/$folder
rm -rf "$stage" "$zip" "$msi"
mkdir -p "$stage"

# Programs first, then the texts (with Windows line ends); the zip keeps this order.
files="bwplan.exe bwmap.exe pkgrun.exe quillscan.exe README.txt bwplan-sample.ini"
cp "$tree/mapper/win32/bwplan.exe" "$tree/bwmap/bwmap.exe" "$tree/launcher/pkgrun.exe" \
   "$tree/firmware/bin/quillscan.exe" "$stage/"
for text in README.txt bwplan-sample.ini; do
    sed "s/@VERSION@/$version/g; s/\$/\r/" "$root/release/$text" >"$stage/$text"
done
chmod 755 "$stage"
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage" "$stage"/*

(
    cd "$dest"
    set -- "$folder/"
    for f in $files; do set -- "$@" "$folder/$f"; done
    TZ=UTC zip -X -q "$zip" "$@"
    # One product code per version and architecture: a new version is a major upgrade.
    code=$(printf 'baywise %s %s' "$version" "$arch" | md5sum | \
        sed 's/^\(........\)\(....\).\(...\).\(...\)\(............\).*/\1-\2-3\3-8\4-\5/')
    wixl -a "$arch" -D Version="$version" -D Arch="$arch" -D Stage="$folder" -D ProductCode="$code" \
        -o "$msi" "$root/release/baywise.wxs"
)
echo "$zip"
echo "$msi"
