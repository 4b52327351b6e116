#!/bin/sh
# A real mouse click on Reset (xdotool on the session's display) gives a fresh form.
# Usage: real_click.sh <wine-run> <probe> <bwplan> <dir>
set -u
run=$1 probe=$2 bwplan=$3 dir=$4
mkdir -p "$dir"
# Through a file: bwplan inherits the probe's output and keeps a pipe open while it runs.
"$run" "$probe" reset-target "$bwplan" >"$dir/probe.txt" || { echo "probe failed"; exit 1; }
info=$(tr -d '\r' <"$dir/probe.txt")
pid=$(echo "$info" | sed -n 's/^pid //p')
set -- $(echo "$info" | sed -n 's/^click //p')
[ -n "$pid" ] && [ $# -eq 2 ] || { echo "no bwplan to click"; exit 1; }
xdotool mousemove "$1" "$2" click 1
"$run" "$probe" check-fresh "$pid" >"$dir/check.txt" 2>&1
status=$?
tr -d '\r' <"$dir/check.txt"
exit $status
