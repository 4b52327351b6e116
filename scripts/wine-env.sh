# Sourced by the scripts that run Windows programs: which Wine runs them on this machine, and
# which build tree they are tested from. Needs $root. The answer depends on the Wine installed:
# source it only after scripts/setup.sh has run.
#
# The programs are 32-bit. Wine's 32-bit loader is a 32-bit Linux program, which a kernel without
# IA-32 emulation cannot start (or starts only through a user-mode emulator, far too slowly for
# the test run). On such a machine the Windows tests run against 64-bit builds of the same
# sources (build/win64) under 64-bit Wine; build/win32 still holds the 32-bit programs.
runs_32bit_natively() {
    [ -x /usr/lib/wine/wine ] || return 1
    if [ -r /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
        return 1
    fi
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${BAYKIT_TEST_ARCH:-}" ]; then
    if runs_32bit_natively; then BAYKIT_TEST_ARCH=win32; else BAYKIT_TEST_ARCH=win64; fi
fi
export BAYKIT_TEST_ARCH
if [ "$BAYKIT_TEST_ARCH" = win64 ]; then
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
else
    WINE=wine
fi
BAYKIT_TEST_TREE="$root/build/$BAYKIT_TEST_ARCH"
export WINEPREFIX="${WINEPREFIX:-$BAYKIT_TEST_TREE/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
