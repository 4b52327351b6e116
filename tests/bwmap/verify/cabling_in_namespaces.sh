#!/bin/sh
# bwmap --verify against a real enclosure's cabling: a network namespace per blade and per
# switch, a veth pair per cable, lldpd in each. Two cables of two blades are swapped and one is
# left out; the check must report exactly that, and every other port ok on its interface, in the
# rows and in the JUnit report.
# Usage: cabling_in_namespaces.sh BWMAP SCRATCH. Exit status 77 where namespaces are refused.
set -u
bwmap=$1
scratch=$2
limit=50  # seconds; the run is ended (and cleaned up) past it

prefix="bwv$$-"
namespaces=""
daemons=""
sockets=""
watchdog=""

cleanup() {
    trap - EXIT INT TERM
    for pid in $daemons; do kill "$pid" 2>/dev/null; done
    for pid in $daemons; do wait "$pid" 2>/dev/null; done
    for ns in $namespaces; do ip netns delete "$ns" 2>/dev/null; done
    [ -n "$sockets" ] && rm -rf "$sockets"
    [ -n "$watchdog" ] && kill "$watchdog" 2>/dev/null
}
trap 'status=$?; cleanup; exit $status' EXIT
trap 'echo "FAIL: ended by a signal or the time limit of $limit s"; exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    for log in "$scratch"/*.log; do [ -s "$log" ] && { echo "--- $log"; tail -5 "$log"; }; done
    exit 1
}

rm -rf "$scratch" && mkdir -p "$scratch/captures" || exit 1
PATH=$PATH:/usr/sbin:/sbin
command -v ip >/dev/null || fail "ip is not installed (scripts/setup.sh installs it)"
if ! ip netns add "${prefix}probe" 2>"$scratch/probe.log"; then
    echo "SKIP: network namespaces are refused here: $(cat "$scratch/probe.log")"
    exit 77
fi
namespaces="${prefix}probe"
for tool in lldpd lldpcli; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
done
# The watchdog ends the run past the limit; cleanup ends the watchdog, which ends its sleep.
(
    sleep "$limit" &
    nap=$!
    trap 'kill $nap 2>/dev/null; exit 0' TERM
    wait $nap && kill -TERM $$
) >/dev/null 2>&1 &
watchdog=$!
sockets=$(mktemp -d /tmp/bwv.XXXXXX) && chmod 755 "$sockets" || fail "no folder for the control sockets"
# lldpd runs its start-up commands unprivileged: the sockets must be reachable (a short path, too).

picks="--os linux --name encl7 --switch-port-name swp{port} 1=Fell 2=Tarn-M2 3=Tarn-M2 4=Tarn-M3
       host1=blade1 host2=blade2 host3=blade3 host4=blade4 switchA=encl7-swa switchB=encl7-swb"
# shellcheck disable=SC2086
"$bwmap" --format tsv $picks >"$scratch/plan.tsv" || fail "bwmap could not map the plan"

# Bay Type Host OS Switch Port NIC -> host, switch, port number, NIC letter, one line per cable.
tail -n +2 "$scratch/plan.tsv" | awk -F'\t' '{ split($6, p, "-"); print $3, $5, p[2], substr($7, 5, 1) }' \
    >"$scratch/cables"
[ "$(wc -l <"$scratch/cables")" -eq 12 ] || fail "the plan has not 12 cables: $(cat "$scratch/plan.tsv")"

ifname() { printf 'eno%d' "$(( $(printf '%d' "'$1") - 64 ))"; }  # NIC A -> eno1

# blade1's NIC A and blade2's NIC B trade switch ports; blade3's NIC C has no cable.
swap_a=$(awk '$1 == "blade1" && $4 == "A" { print $3 }' "$scratch/cables")
swap_b=$(awk '$1 == "blade2" && $4 == "B" { print $3 }' "$scratch/cables")
[ -n "$swap_a" ] && [ -n "$swap_b" ] || fail "the plan lacks blade1 NIC A or blade2 NIC B"

for host in blade1 blade2 blade3 blade4 encl7-swa encl7-swb; do
    ip netns add "$prefix$host" || fail "cannot add the namespace $prefix$host"
    namespaces="$namespaces $prefix$host"
done
while read -r host switch port nic; do
    [ "$host $nic" = "blade3 C" ] && continue
    [ "$host $nic" = "blade1 A" ] && port=$swap_b
    [ "$host $nic" = "blade2 B" ] && port=$swap_a
    ip link add "$(ifname "$nic")" netns "$prefix$host" type veth peer name "swp$port" netns "$prefix$switch" ||
        fail "cannot cable $host NIC $nic to $switch swp$port"
    ip -n "$prefix$host" link set "$(ifname "$nic")" up && ip -n "$prefix$switch" link set "swp$port" up ||
        fail "cannot bring up the cable of $host NIC $nic"
done <"$scratch/cables"

for host in blade1 blade2 blade3 blade4 encl7-swa encl7-swb; do
    printf 'configure system hostname %s\nconfigure lldp portidsubtype ifname\nconfigure lldp tx-interval 1\n' \
        "$host" >"$scratch/$host.conf"
    ip netns exec "$prefix$host" lldpd -d -u "$sockets/$host.sock" -O "$scratch/$host.conf" >"$scratch/$host.log" 2>&1 &
    daemons="$daemons $!"
done

# Each blade's capture once it sees as many neighbours as it has cables, polled.
for host in blade1 blade2 blade3 blade4; do
    want=$(awk -v h="$host" '$1 == h' "$scratch/cables" | wc -l)
    [ "$host" = blade3 ] && want=$((want - 1))
    tries=0
    while :; do
        lldpcli -u "$sockets/$host.sock" -f json show neighbors >"$scratch/captures/$host.json" 2>>"$scratch/$host.log"
        seen=$(grep -c '"via"' "$scratch/captures/$host.json")
        [ "$seen" -ge "$want" ] && break
        tries=$((tries + 1))
        [ $tries -lt 150 ] || fail "$host sees $seen of its $want neighbours after 30 s"
        sleep 0.2
    done
done

# Expected: every cable ok on its interface but the three without their planned cable, then the
# two ports that the swapped NICs see, each planned for the other's bay.
while read -r host switch port nic; do
    bay=${host#blade}
    case "$host $nic" in
    "blade1 A" | "blade2 B" | "blade3 C") printf 'encl7\t%s\t%s\tNIC %s\t%s\tswp%s\t\tmissing\t\n' "$bay" "$host" "$nic" "$switch" "$port" ;;
    *) printf 'encl7\t%s\t%s\tNIC %s\t%s\tswp%s\t%s\tok\t\n' "$bay" "$host" "$nic" "$switch" "$port" "$(ifname "$nic")" ;;
    esac
done <"$scratch/cables" >"$scratch/expected"
printf 'encl7\t1\tblade1\t\tencl7-swa\tswp%s\teno1\tunexpected\tplanned for bay 2 (blade2), NIC B\n' "$swap_b" >>"$scratch/expected"
printf 'encl7\t2\tblade2\t\tencl7-swa\tswp%s\teno2\tunexpected\tplanned for bay 1 (blade1), NIC A\n' "$swap_a" >>"$scratch/expected"

# shellcheck disable=SC2086
"$bwmap" --format tsv --verify "$scratch/captures" $picks >"$scratch/verify.tsv" 2>"$scratch/verify.log"
status=$?
[ "$status" = 1 ] || fail "bwmap --verify ended with $status, not 1: $(cat "$scratch/verify.log")"
[ -s "$scratch/verify.log" ] && fail "bwmap --verify wrote messages: $(cat "$scratch/verify.log")"
tail -n +2 "$scratch/verify.tsv" | sort >"$scratch/got.sorted"
sort "$scratch/expected" >"$scratch/expected.sorted"
diff "$scratch/expected.sorted" "$scratch/got.sorted" >"$scratch/diff" ||
    fail "the rows differ from the cabling (- expected, + reported):
$(cat "$scratch/diff")"

# The same run as a JUnit report, read by junitparser: one suite whose counts are the verdicts'.
# shellcheck disable=SC2086
"$bwmap" --format junit --verify "$scratch/captures" $picks >"$scratch/cabling.xml" 2>"$scratch/junit.log"
status=$?
[ "$status" = 1 ] || fail "bwmap --verify --format junit ended with $status, not 1: $(cat "$scratch/junit.log")"
ok=$(grep -c "$(printf '\tok\t')" "$scratch/got.sorted")
counts=$(/usr/bin/python3 -c '
import sys
from junitparser import JUnitXml
for s in JUnitXml.fromfile(sys.argv[1]):
    kinds = sorted(type(r).__name__ + ":" + r.type for c in s for r in c.result)
    print(s.name, s.tests, s.failures, s.errors, s.skipped, " ".join(kinds))
' "$scratch/cabling.xml" 2>&1)
want="encl7 $((ok + 5)) 5 0 0 Failure:missing Failure:missing Failure:missing Failure:unexpected Failure:unexpected"
[ "$counts" = "$want" ] || fail "the JUnit report reads \"$counts\", not \"$want\""
echo "ok: $(grep -c "$(printf '\tok\t')" "$scratch/got.sorted") ports ok, 3 missing, 2 unexpected, the same in the JUnit report"
