#!/bin/sh
# The codes that Windows Installer finds a package by: the UpgradeCode property is the kit's
# fixed code and the ProductCode a GUID, both in upper case.
# Usage: package_codes.sh <package.msi>...
set -u
upgrade_code='{5D0F3C6E-8A41-4B7E-9C2D-3E6F1A7B2C90}'
guid='^{[0-9A-F]\{8\}-[0-9A-F]\{4\}-[0-9A-F]\{4\}-[0-9A-F]\{4\}-[0-9A-F]\{12\}}$'
status=0
for msi in "$@"; do
    [ -f "$msi" ] || { echo "missing $msi (run scripts/build.sh)"; exit 1; }
    property() { msiinfo export "$msi" Property | tr -d '\r' | sed -n "s/^$1\t//p"; }
    product=$(property ProductCode)
    upgrade=$(property UpgradeCode)
    [ "$upgrade" = "$upgrade_code" ] || { echo "$msi: UpgradeCode is '$upgrade'"; status=1; }
    echo "$product" | grep -q "$guid" || { echo "$msi: ProductCode is '$product'"; status=1; }
done
exit $status
