#!/bin/sh
# Runs a command inside a Wine session: a display (Xvfb when none is set), the build tree's
# private prefix (created once) and one persistent wineserver. Stops what it started, by
# process id, however the command ends: normally, by a signal, or when this script is killed.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"

command_pid=""
xvfb_pid=""
server_pid=""
watch_pid=""
display_file=""
fail() {
    echo "wine-session: $*" >&2
    exit 1
}
stop() {
    [ -n "$command_pid" ] && kill "$command_pid" 2>/dev/null
    [ -n "$watch_pid" ] && kill -- "-$watch_pid" 2>/dev/null && wait "$watch_pid" 2>/dev/null
    # SIGINT makes the wineserver end every Wine process of the prefix, then itself.
    [ -n "$server_pid" ] && kill -INT "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [ -n "$display_file" ] && rm -f "$display_file"
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb and the wineserver run in sessions of their own: a signal to this script's process group
# (Ctrl-C, timeout) must not end the server before it has ended the prefix's processes, which
# Wine starts in sessions of their own too.

# The display comes first: a wineserver started without one cannot create windows later.
if [ -z "${DISPLAY:-}" ]; then
    display_file=$(mktemp)
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 </dev/null &
    xvfb_pid=$!
    i=0
    until [ -s "$display_file" ]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended at start-up"
        i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not report a display within 10 s"
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$display_file")"
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended after choosing display $DISPLAY"
fi

# True once our server listens on its socket (found by inode among its open files).
server_listening() {
    for fd in /proc/"$server_pid"/fd/*; do
        link=$(readlink "$fd" 2>/dev/null) || continue
        case $link in socket:\[*\]) ;; *) continue ;; esac
        inode=${link#socket:[}
        # Flags 00010000: accepting connections.
        awk -v inode="${inode%]}" '$7 == inode && $4 == "00010000" { found = 1 } END { exit !found }' \
            /proc/net/unix && return 0
    done
    return 1
}

# Pid of a wineserver already serving this prefix: it works in server-<device>-<inode>.
other_server() {
    dir="server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"
    find /proc -mindepth 2 -maxdepth 2 -name cwd -lname "*/$dir" 2>/dev/null | sed -n 's#^/proc/\([0-9]*\)/cwd$#\1#p'
}

# One server for the whole run, ours alone: its output must not reach CTest's pipes. A server
# that another program started for this prefix (ours then exits at once with status 2) is given
# 15 s to end, as an idle one does after 3 s: sharing it would leave what this session starts
# running after it ends.
mkdir -p "$WINEPREFIX"
tries=0
while :; do
    setsid wineserver -f -p >/dev/null 2>&1 </dev/null &
    server_pid=$!
    i=0
    until server_listening; do
        kill -0 "$server_pid" 2>/dev/null || break
        i=$((i + 1)); [ $i -gt 200 ] && fail "the wineserver (pid $server_pid) is not up after 10 s"
        sleep 0.05
    done
    kill -0 "$server_pid" 2>/dev/null && break
    wait "$server_pid"
    status=$?
    server_pid=""
    [ $status = 2 ] || fail "the wineserver ended at start-up with status $status"
    tries=$((tries + 1))
    [ $tries -ge 30 ] && fail "another wineserver (pid $(other_server)) serves $WINEPREFIX;" \
        "end it (WINEPREFIX=$WINEPREFIX wineserver -k) or wait for what runs there, and start again"
    sleep 0.5
done

# If this script is killed outright, a watcher in a session of its own still ends the server
# and Xvfb; stop() ends the watcher first.
setsid sh -c '
    while kill -0 "$1" 2>/dev/null; do sleep 1; done
    kill -INT "$2" 2>/dev/null
    i=0
    while kill -0 "$2" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -n "$3" ] && kill "$3" 2>/dev/null
' wine-session-watch "$$" "$server_pid" "$xvfb_pid" </dev/null >/dev/null 2>&1 &
watch_pid=$!

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-session: creating the Wine prefix $WINEPREFIX" >&2
    "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
fi
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null

# Without a window manager, Wine waits 2 s for every hidden or destroyed top-level window unless
# its windows are unmanaged.
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
fi

# The command runs in the background, so that a signal to this script alone is acted on at once
# rather than when the command ends; it keeps this script's standard input.
exec 3<&0
"$@" <&3 3<&- &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=""
exit "$status"
