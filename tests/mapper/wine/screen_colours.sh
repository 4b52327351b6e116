#!/bin/sh
# Screenshot check: a label of each row, a caption of each row and the message line sampled
# on the real screen for their colours.  Usage: screen_colours.sh <wine-run> <probe> <bwplan> <dir>
set -u
run=$1 probe=$2 bwplan=$3 dir=$4
mkdir -p "$dir"
# Through a file: bwplan inherits the probe's output and keeps a pipe open while it runs.
"$run" "$probe" colours "$bwplan" >"$dir/probe.txt" || { echo "probe failed"; exit 1; }
info=$(tr -d '\r' <"$dir/probe.txt")
pid=$(echo "$info" | sed -n 's/^pid //p')
[ -n "$pid" ] || { echo "no bwplan started"; exit 1; }

# Colour words present in a screen rectangle, as #RRGGBB.
colours_in() {  # x y w h
    convert "$dir/screen.png" -crop "$3x$4+$1+$2" +repage -format %c histogram:info:- |
        grep -o '#[0-9A-F]\{6\}' | sort -u
}

status=1
tries=0
while [ $tries -lt 20 ]; do
    tries=$((tries + 1))
    xwd -root -silent | convert xwd:- "$dir/screen.png"
    failures=""
    while read -r _ name colour x y w h; do
        found=$(colours_in "$x" "$y" "$w" "$h")
        echo "$found" | grep -qx "$colour" || failures="$failures $name(no $colour)"
        for other in '#233CFF' '#289664' '#FF2323'; do
            [ "$other" = "$colour" ] && continue
            echo "$found" | grep -qx "$other" && failures="$failures $name(has $other)"
        done
    done <<EOT
$(echo "$info" | grep '^sample ')
EOT
    if [ -z "$failures" ]; then status=0; break; fi
    sleep 0.25  # the form may still be painting, or briefly covered
done
"$run" "$probe" end "$pid" >/dev/null 2>&1
if [ $status -eq 0 ]; then
    echo "colours as expected in $dir/screen.png"
else
    echo "colour check failed:$failures (see $dir/screen.png)"
fi
exit $status
