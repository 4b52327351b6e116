#!/bin/sh
# Runs a command inside a Wine session: a display (Xvfb when none is set), the build tree's
# private prefix (created once) and one persistent wineserver. Stops what it started, by
# process id, however the command ends.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"

xvfb_pid=""
server_pid=""
stop() {
    # SIGINT makes the wineserver end every Wine process of the prefix, then itself.
    [ -n "$server_pid" ] && kill -INT "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap stop EXIT
trap 'exit 130' INT TERM

# The display comes first: a wineserver started without one cannot create windows later.
if [ -z "${DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    i=0
    until [ -e "/tmp/.X11-unix/X$n" ]; do
        i=$((i + 1)); [ $i -gt 100 ] && { echo "wine-session: Xvfb did not start" >&2; exit 1; }
        sleep 0.1
    done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-session: creating the Wine prefix $WINEPREFIX" >&2
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
fi

# One server for the whole run; its output must not reach CTest's pipes.
# A server already running for this prefix is used as it is; ours then exits at once.
wineserver -f -p >/dev/null 2>&1 </dev/null &
server_pid=$!
socket_dir=/tmp/.wine-$(id -u)/server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")
i=0
until [ -S "$socket_dir/socket" ] || ! kill -0 "$server_pid" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 100 ] && break
    sleep 0.05
done
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null

# Without a window manager, Wine waits 2 s for every hidden or destroyed top-level window unless
# its windows are unmanaged.
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
fi

"$@"
