#!/bin/sh
# scripts/setup.sh on a bad mirror day, without a network: stand-ins for apt-get, dpkg-query and
# dpkg on PATH keep a list of installed packages and fail as a syncing mirror makes apt fail.
# Usage: setup_bad_mirror.sh <scratch>
set -u
setup=$(cd "$(dirname "$0")/../../scripts" && pwd)/setup.sh
scratch=$1
rm -rf "$scratch"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
bin=$scratch/bin

# State: $FAKE/installed (one package a line), $FAKE/updates (one line per update call),
# $FAKE/update-failures (how many update calls fail), $FAKE/unavailable (package TAB reason kind).
cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
for last; do :; done
grep -qxF "$last" "$FAKE/installed" && { printf 'install ok installed'; exit 0; }
echo "dpkg-query: no packages found matching $last" >&2
exit 1
EOF
cat >"$bin/dpkg" <<'EOF'
#!/bin/sh
case $1 in --print-foreign-architectures) cat "$FAKE/arches" 2>/dev/null ;; --add-architecture) echo "$2" >>"$FAKE/arches" ;; esac
EOF
cat >"$bin/id" <<'EOF'
#!/bin/sh
echo 0
EOF
cat >"$bin/apt-get" <<'EOF'
#!/bin/sh
case $1 in update)
    echo update >>"$FAKE/updates"
    if [ "$(wc -l <"$FAKE/updates")" -le "$(cat "$FAKE/update-failures")" ]; then
        echo "E: Failed to fetch .../bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 100
    fi
    exit 0 ;;
esac
simulate=0 packages=""
for a; do case $a in install|-y|-qq) ;; -s) simulate=1 ;; *) packages="$packages $a" ;; esac; done
bad=0
for p in $packages; do
    kind=$(awk -F'\t' -v p="$p" '$1 == p { print $2 }' "$FAKE/unavailable")
    case $kind in
        held) printf 'The following packages have unmet dependencies:\n %s : Depends: libc6:i386 (>= 2.36-9+deb12u9) but 2.36-9+deb12u4 is to be installed\nE: Unable to correct problems, you have held broken packages.\n' "$p"; bad=1 ;;
        gone) echo "E: Unable to locate package $p" >&2; bad=1 ;;
    esac
done
[ $bad = 0 ] || exit 100
[ $simulate = 1 ] && exit 0
for p in $packages; do echo "$p" >>"$FAKE/installed"; done
EOF
chmod +x "$bin"/*

# The packages setup.sh wants, read from it.
wanted=$(sed -n '/^essential="/,/"$/p; /^optional="/,/"$/p' "$setup" | tr -d '"' | sed 's/^[a-z]*=//')

failed=0
# name | update calls that fail | unavailable packages (name:kind) | installed at the start |
# expected status | lines expected on standard error, one per " | " | packages left out
run_case() {
    name=$1 failures=$2 unavailable=$3 preinstalled=$4 want_status=$5 want_lines=$6 left_out=$7
    export FAKE="$scratch/$name"
    mkdir -p "$FAKE"
    echo "$failures" >"$FAKE/update-failures"
    : >"$FAKE/updates"
    : >"$FAKE/unavailable"
    for u in $unavailable; do printf '%s\t%s\n' "${u%:*}" "${u##*:}" >>"$FAKE/unavailable"; done
    # lldpd counts as installed, so the run never stops a real daemon.
    printf '%s\n' lldpd $preinstalled >"$FAKE/installed"
    PATH="$bin:$PATH" sh "$setup" >"$FAKE/out" 2>"$FAKE/err"
    status=$?
    problem=""
    [ "$status" = "$want_status" ] || problem="$problem status $status, not $want_status;"
    old_ifs=$IFS; IFS='|'
    for line in $want_lines; do
        line=${line# }; line=${line% }
        grep -qxF "$line" "$FAKE/err" || problem="$problem no line \"$line\";"
    done
    IFS=$old_ifs
    for p in $wanted; do
        case " $left_out " in
            *" $p "*) grep -qxF "$p" "$FAKE/installed" && problem="$problem $p installed;" ;;
            *) grep -qxF "$p" "$FAKE/installed" || problem="$problem $p not installed;" ;;
        esac
    done
    if [ -n "$problem" ]; then
        failed=1
        printf 'FAIL %s:%s\n--- stderr:\n%s\n' "$name" "$problem" "$(cat "$FAKE/err")"
    else
        echo "ok   $name ($(wc -l <"$FAKE/updates") update calls)"
    fi
}

held='Depends: libc6:i386 (>= 2.36-9+deb12u9) but 2.36-9+deb12u4 is to be installed'
run_case mirror-syncing 2 "wine32:i386:held" "" 0 \
    "setup: apt-get update: Failed to fetch .../bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? | setup: apt-get update failed; trying once more | setup: apt-get update failed again; going on with the package lists at hand | setup: cannot install wine32:i386: $held | setup: going on without: wine32:i386" \
    "wine32:i386"
run_case second-update-works 1 "" "" 0 "setup: apt-get update failed; trying once more" ""
run_case no-cmake 0 "cmake:gone chromium:gone" "" 1 \
    "setup: cannot install cmake: Unable to locate package cmake | setup: cannot install chromium: Unable to locate package chromium | setup: nothing can be built or run without: cmake" \
    "cmake chromium"
run_case all-there 0 "" "$wanted" 0 "" ""
[ "$(wc -l <"$scratch/all-there/updates")" = 0 ] || { echo "FAIL all-there: apt-get update ran"; failed=1; }
[ -s "$scratch/all-there/err" ] && { echo "FAIL all-there: said $(cat "$scratch/all-there/err")"; failed=1; }
exit $failed
