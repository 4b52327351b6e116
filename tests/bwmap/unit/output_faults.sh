#!/bin/sh
# bwmap's output faults: a full disk is an error with a message, never a success; a reader that
# goes away ends a long plans run at once and without a message.
# Usage: output_faults.sh BWMAP SCRATCH
set -u
bwmap=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

"$bwmap" 1=Tarn >/dev/full 2>"$scratch/err"
status=$?
[ "$status" = 2 ] || fail "output to /dev/full ended with $status, not 2"
grep -q '^bwmap: cannot write the output: ' "$scratch/err" || fail "no message for /dev/full: $(cat "$scratch/err")"

# 200,000 enclosures would take many seconds to write; the reader takes one line and goes.
{
    echo "name,1,9"
    i=0
    while [ $i -lt 200000 ]; do echo "rack $i,Fell,Fell"; i=$((i + 1)); done
} >"$scratch/plans.csv"
start=$(date +%s)
"$bwmap" --plans "$scratch/plans.csv" --format tsv 2>"$scratch/err" | head -1 >"$scratch/out"
elapsed=$(( $(date +%s) - start ))
[ "$(cat "$scratch/out")" = "$(printf 'Enclosure\tBay\tType\tOS\tSwitch port\tNIC')" ] || fail "first line: $(cat "$scratch/out")"
[ -s "$scratch/err" ] && fail "a closed pipe gave a message: $(cat "$scratch/err")"
[ "$elapsed" -le 5 ] || fail "a closed pipe took $elapsed s to end the run"

[ $failed = 0 ] && echo "output faults: full disk reported, closed pipe quiet"
exit $failed
