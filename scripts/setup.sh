#!/bin/sh
# Installs what the build and the tests need on Debian 12; installs nothing that is already there.
set -eu

packages="cmake g++ make libgtest-dev googletest clang libclang-rt-14-dev
g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb xdotool x11-apps imagemagick
libcli11-dev nlohmann-json3-dev time chromium python3-html5lib
wixl msitools zip unzip lldpd iproute2"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages:$missing; run as root to install them" >&2
    exit 1
fi
echo "setup: installing$missing"
case " $missing " in *":i386"*)
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
esac
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
# lldpd is for the cabling test, which starts daemons of its own in network namespaces; one that
# the package started system-wide is stopped again and not started at boot.
case " $missing " in *" lldpd "*)
    if [ -d /run/systemd/system ] && command -v systemctl >/dev/null; then
        systemctl disable --now lldpd.service >/dev/null 2>&1 || true
    elif [ -s /run/lldpd.pid ]; then
        kill "$(cat /run/lldpd.pid)" 2>/dev/null || true
    fi ;;
esac
