#!/bin/sh
# Installs what is missing, builds, and opens the mapper's window under Wine, in the folder the
# command was typed in, so that a bwplan.ini there is read: on the user's display when DISPLAY is
# set (until the user closes it), otherwise on Xvfb, where a screenshot of the window is saved
# under build/ and its path printed, and the program is then ended. On Xvfb, when there is a
# bwplan.ini, the first of its types that a bay offers is placed before the picture is taken.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# Which Wine runs the programs is decided only once the set-up has installed Wine.
if [ "${1:-}" != "--photograph" ]; then
    "$root/scripts/setup.sh"
fi
. "$root/scripts/wine-env.sh"
bwplan="$BAYKIT_TEST_TREE/mapper/win32/bwplan.exe"
probe="$BAYKIT_TEST_TREE/tests/mapper/wine/mapper_probe.exe"
shot="$root/build/bwplan-window.png"

# Inside the Wine session on Xvfb: the window (Wine draws its frame) photographed, then ended.
if [ "${1:-}" = "--photograph" ]; then
    "$WINE" "$bwplan" >/dev/null 2>&1 </dev/null &
    info=$(mktemp)
    if ! "$WINE" "$probe" find-form >"$info" 2>/dev/null </dev/null; then
        rm -f "$info"
        echo "run: the mapper's window did not appear" >&2
        exit 1
    fi
    pid=$(tr -d '\r' <"$info" | sed -n 's/^pid //p')
    set -- $(tr -d '\r' <"$info" | sed -n 's/^rect //p')  # x y width height on the screen
    rm -f "$info"
    if [ -f bwplan.ini ]; then
        "$WINE" "$probe" show-catalogue "$pid" 2>/dev/null </dev/null | tr -d '\r' | sed 's/^/run: bwplan.ini: /'
    fi
    # Shoot until two shots agree: the window is painted.
    previous=""
    i=0
    while [ $i -lt 50 ]; do
        import -window root -crop "$3x$4+$1+$2" +repage "$shot"
        current=$(md5sum <"$shot")
        [ "$current" = "$previous" ] && break
        previous=$current
        i=$((i + 1))
        sleep 0.2
    done
    "$WINE" "$probe" end "$pid" >/dev/null 2>&1 </dev/null || true
    echo "$shot"
    exit 0
fi

"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ]; then
    exec "$root/scripts/wine-session.sh" "$WINE" "$bwplan"
fi
exec "$root/scripts/wine-session.sh" "$0" --photograph
