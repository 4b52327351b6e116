#!/bin/sh
# Installs what the build and the tests need on Debian 12; installs nothing that is already there.
#
# A mirror that is syncing must not stop it: a failed index update is retried once, then the
# lists at hand serve; every package that can be had is installed, and one that cannot is named
# in one line with apt's reason. Only the packages without which nothing builds or runs stop the
# command. Without wine32:i386 the Windows tests run against the 64-bit builds (wine-env.sh).
set -eu

# Nothing builds or runs without these: compilers, CMake, the libraries every tree links, Wine.
essential="cmake ninja-build g++ make libgtest-dev googletest libcli11-dev nlohmann-json3-dev
g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine64 xvfb"
# Without one of these, the tests that need it fail; everything else still runs.
optional="clang libclang-rt-14-dev wine32:i386 xdotool x11-apps imagemagick time chromium
python3-html5lib ghostscript wixl msitools zip unzip lldpd iproute2 graphviz python3-junitparser python3-pydot"

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing_of() {
    for p in "$@"; do installed "$p" || printf ' %s' "$p"; done
}

missing=$(missing_of $essential $optional)
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages:$missing; run as root to install them" >&2
    exit 1
fi
echo "setup: installing$missing"
case " $missing " in *":i386"*)
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
esac
# apt-get update; false with its first error, in one line, on standard error.
update_lists() {
    if update_out=$(apt-get update -qq 2>&1); then return 0; fi
    echo "setup: apt-get update: $(printf '%s\n' "$update_out" | sed -n 's/^E: //p' | head -n 1)" >&2
    return 1
}
if ! update_lists; then
    echo "setup: apt-get update failed; trying once more" >&2
    update_lists ||
        echo "setup: apt-get update failed again; going on with the package lists at hand" >&2
fi

apt_install() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}
# apt's reason, in one line: the first unmet dependency, else its last error.
apt_reason() {
    reason=$(printf '%s\n' "$1" | sed -n 's/^ *[^ ]* : *\(\(Pre\)\{0,1\}Depends: .*\)$/\1/p' | head -n 1)
    [ -n "$reason" ] || reason=$(printf '%s\n' "$1" | sed -n 's/^E: //p' | tail -n 1)
    printf '%s\n' "${reason:-apt-get could not install it}"
}

if ! apt_install $missing 2>/dev/null; then
    # One package that cannot be had fails the whole call: ask apt about each, install the rest.
    installable=""
    for p in $missing; do
        if out=$(apt-get install -s -y "$p" 2>&1); then
            installable="$installable $p"
        else
            echo "setup: cannot install $p: $(apt_reason "$out")" >&2
        fi
    done
    if [ -n "$installable" ] && ! apt_install $installable 2>/dev/null; then
        for p in $installable; do
            out=$(DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p" 2>&1 >/dev/null) ||
                echo "setup: cannot install $p: $(apt_reason "$out")" >&2
        done
    fi
fi

# lldpd is for the cabling test, which starts daemons of its own in network namespaces; one that
# the package started system-wide is stopped again and not started at boot.
case " $missing " in *" lldpd "*)
    if installed lldpd; then
        if [ -d /run/systemd/system ] && command -v systemctl >/dev/null; then
            systemctl disable --now lldpd.service >/dev/null 2>&1 || true
        elif [ -s /run/lldpd.pid ]; then
            kill "$(cat /run/lldpd.pid)" 2>/dev/null || true
        fi
    fi ;;
esac

lacking=$(missing_of $essential)
if [ -n "$lacking" ]; then
    echo "setup: nothing can be built or run without:$lacking" >&2
    exit 1
fi
left=$(missing_of $optional)
[ -z "$left" ] || echo "setup: going on without:$left" >&2
