#!/bin/sh
# bwmap --check under Wine prints what the native program prints (line ends aside), with the
# same exit status. Usage: same_output.sh NATIVE_BWMAP WINE_EXEC BWMAP_EXE FILES_DIR WORK_DIR
set -u
native=$1 wine_exec=$2 exe=$3 files=$4 work=$5
rm -rf "$work" && mkdir -p "$work" && cp "$files"/*.ini "$work"/ && cd "$work" || exit 1

failed=0
# Arguments and the status both programs must give.
while read -r expected args; do
    # shellcheck disable=SC2086
    "$native" $args >native.out 2>native.err </dev/null
    native_status=$?
    # shellcheck disable=SC2086
    "$wine_exec" "$exe" $args >wine.out 2>wine.err </dev/null
    wine_status=$?
    tr -d '\r' <wine.out >wine.lf
    if [ "$native_status" != "$expected" ] || [ "$wine_status" != "$expected" ]; then
        echo "bwmap $args: status $native_status native, $wine_status under Wine, expected $expected"
        cat native.err wine.err
        failed=1
    fi
    if ! cmp -s native.out wine.lf; then
        echo "bwmap $args: the outputs differ (native, then Wine):"
        diff native.out wine.lf
        failed=1
    fi
    echo "bwmap $args: status $native_status, $(wc -l <native.out) lines"
done <<ARGS
1 --check faults.ini
0 --check
2 --check missing.ini
ARGS
exit $failed
