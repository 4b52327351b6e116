#!/bin/sh
# Fails on any include in bwmap/ that points to a higher layer (or into win32/ from portable code).
# Usage: includes_go_down.sh BWMAP_SOURCE_DIR
set -u
root=${1:?usage: includes_go_down.sh BWMAP_SOURCE_DIR}
rank() {
    case $1 in
        base|win32) echo 0 ;; input) echo 1 ;; enclosure) echo 2 ;; views) echo 3 ;; writers) echo 4 ;; cli) echo 5 ;;
        *) echo 99 ;;
    esac
}
cd "$root" || exit 2
status=0
checked=0
for file in */*.h */*.cpp; do
    layer=${file%%/*}
    own=$(rank "$layer")
    if [ "$own" = 99 ]; then
        echo "$file: in no known layer"
        status=1
        continue
    fi
    checked=$((checked + 1))
    grep -n '^#include "[a-z0-9_]*/' "$file" | while IFS= read -r line; do
        target=$(printf '%s\n' "$line" | sed 's/^[0-9]*:#include "\([a-z0-9_]*\)\/.*/\1/')
        if [ "$target" = win32 ] && [ "$layer" != win32 ]; then
            echo "$file:${line%%:*}: portable code includes win32/"

        elif [ "$(rank "$target")" -gt "$own" ]; then
            echo "$file:${line%%:*}: $layer includes the higher layer $target"

        fi
    done | grep . && status=1
    if grep -n '#include <windows.h>' "$file" > /dev/null && [ "$layer" != win32 ]; then
        echo "$file: portable code includes <windows.h>"
        status=1
    fi
done
if [ "$checked" -lt 20 ]; then
    echo "only $checked files found under $root"
    exit 1
fi
exit $status
