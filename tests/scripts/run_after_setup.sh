#!/bin/sh
# scripts/run.sh decides which Wine to use only after the set-up, which may have installed Wine
# just then: a copy of the scripts with set-up, build and Wine session replaced by recorders.
# Usage: run_after_setup.sh <scratch>
set -u
here=$(cd "$(dirname "$0")" && pwd)
scratch=$1
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/scripts"
cp "$here/../../scripts/run.sh" "$here/../../scripts/wine-env.sh" "$scratch/scripts/"
for stub in setup build wine-session; do
    printf '#!/bin/sh\necho "%s ${BAYKIT_TEST_ARCH:-undecided} ${WINEPREFIX:-undecided}${*:+ $*}" >>"%s/log"\n' \
        "$stub" "$scratch" >"$scratch/scripts/$stub.sh"
    chmod +x "$scratch/scripts/$stub.sh"
done
# What wine-env.sh decides on this machine, once Wine is installed.
arch=$(env -u BAYKIT_TEST_ARCH sh -c "root='$scratch'; . '$scratch/scripts/wine-env.sh'; echo \$BAYKIT_TEST_ARCH")
env -u BAYKIT_TEST_ARCH -u WINEPREFIX -u DISPLAY "$scratch/scripts/run.sh" || { echo "run.sh failed"; exit 1; }
expected="setup undecided undecided
build $arch $scratch/build/$arch/wineprefix
wine-session $arch $scratch/build/$arch/wineprefix $scratch/scripts/run.sh --photograph"
[ "$(cat "$scratch/log")" = "$expected" ] || { printf 'run.sh ran:\n%s\nexpected:\n%s\n' "$(cat "$scratch/log")" "$expected"; exit 1; }
echo "set-up before the decision ($arch), build and session after it"
