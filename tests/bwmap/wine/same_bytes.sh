#!/bin/sh
# bwmap.exe under Wine prints the same bytes as the native bwmap, with the same exit status, for
# every row of a table of argument lists that covers every mode and format. The one difference
# is that text ends its lines in CR LF on Windows; each row's kind says how its output compares:
#   text   bwmap.exe's output with exactly one CR taken before each LF (every LF needs one) is
#          the native output;
#   bytes  the NetBox files, which end their lines in CR LF on both builds: byte for byte;
#   cell   a CSV cell holds a CR LF: that is data and stays as it is on both builds, so the
#          native output with a CR put before each LF that has none is bwmap.exe's;
#   path   as text, but bwmap.exe names capture files with '\' (escaped '\\' in JSON) where
#          the native one writes '/': each is taken as '/' before comparing;
#   ansi   the map's table, tsv or csv with 8-bit text (of the plans file or the catalogue):
#          bwmap.exe keeps it in the ANSI code page (Windows-1252 under Wine), the native bwmap
#          writes UTF-8, so bwmap.exe's output taken as text and read as Windows-1252 is the
#          native output.
# The encoding rule: the native output of every row is UTF-8; on Windows only the ansi rows'
# output is not.
# Standard error is text on both builds. SOURCE_DATE_EPOCH fixes the html footer's date and the
# JUnit report's timestamp.
# usage: same_bytes.sh WINE-EXEC NATIVE-BWMAP BWMAP-EXE SCRATCH-FOLDER
set -u
wine_exec=$1 native=$2 exe=$3 scratch=$4
export LC_ALL=C SOURCE_DATE_EPOCH=1700000000
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 1

# Catalogue rows: a half-height pair of one sharing class, a name with ", " (quoted in csv), a
# backslash (escaped in json) and an 8-bit letter (Windows-1252 e-acute, UTF-8 in json).
printf '"ShareHalf" 0x1800000 AB 11\n"PlainHalf" 0x800000 AABB 1212\n"Eight, half" 0x808000 AABBABAB 12124455\n"Back\\slash" 0x100 AABB 1x1\n"H\351lix" 0x1800200 AB 1\n' >cat.ini
# Plans: good rows (naming the 8-bit type in UTF-8 and in 8 bits), a refused row, bad rows.
printf '%b\r\n' 'name,enclosure,os,1,2,9,10,os1' \
    'rack one,standard,windows,Tarn-M2,Tarn,,,linux' \
    '"rack, two",,,Fell,"Eight, half",Fell,PlainHalf,' \
    'utf-8,enhanced,linux,H\0303\0251lix,,ShareHalf,,' \
    'eight-bit,,windows,,H\0351lix,,ShareHalf,' \
    'refused,standard,,Tarn-M3,,,,' \
    'bad os,enhanced,solaris,Tarn,,,,' \
    'covered,,,Crag,Tarn,,,' \
    ',,,Tarn,,,,' \
    'short,standard' \
    'last,enhanced,linux,,Tarn +NIC upgrade,,,' >plans.csv
printf 'name,1,os1\nsolo,Tarn-M2,windows\n' >good.csv
printf 'name,17\nx,Tarn\n' >badheader.csv
# Host and switch names (one of them not ASCII), extra columns, a CR LF inside a quoted cell.
printf 'name,1,2,host1,host2,switchA,rack,note\nr1,Tarn-M2,Fell,web01,m\303\274nchen,sw-a,R 7,"two\r\nlines"\nr2,,Tarn,,db01,,R 8,plain\n' >names.csv
printf 'name,1,location\r\nr1,Fell,"Hall 3\r\nrow 2"\r\n' >crlf-cell.csv
# A new plan of names.csv: r1's blades swapped, r2 gone, its host moved to a new r3.
printf 'name,1,2,host1,host2,switchA,rack,note\nr1,Fell,Tarn-M2,m\303\274nchen,web01,sw-a,R 7,"two\r\nlines"\nr3,Tarn,,db01,,,R 9,new\n' >names-new.csv
# The same enclosures in 8 bits (Windows-1252 u-umlaut) and in UTF-16 with its byte-order mark.
printf 'name,1,host1\nM\374nchen,Tarn,h\374tte\nplain,Fell,\n' >eight-bit.csv
printf '\377\376n\0a\0m\0e\0,\0001\0\r\0\n\0r\0001\0,\0T\0a\0r\0n\0\r\0\n\0' >utf-16.csv
# A capture's path is written with the platform's separator (/ or \) throughout: rows of kind
# path name the folder as caps/.
# Captures: web01 as -f json, münchen's file named in UTF-8, one nested past any capture, and
# host names that name no file of the folder.
mkdir -p caps adir
printf '{"lldp": {"interface": {"eno1": {"chassis": {"sw-a": {}}, "port": {"id": {"type": "ifname", "value": "1"}}}}}}' >caps/web01.json
printf '{"lldp": {"interface": {"eno1": {"chassis": {"sw-a": {}}, "port": {"id": {"type": "ifname", "value": "3"}}}}}}' >"$(printf 'caps/m\303\274nchen.json')"
printf '{"lldp": {"interface": {"eno1": {"port": {"descr": %s%s}}}}}' "$(head -c 20000 /dev/zero | tr '\0' '[')" \
    "$(head -c 20000 /dev/zero | tr '\0' ']')" >deep.json
printf 'name,1,host1\nr1,Tarn,con\nr2,Tarn,Lpt1.x\nr3,Tarn,..\n' >devices.csv
# Long and wide names that size the tables' columns; a capture whose switch has a domain and
# names its ports swpN; header mistakes with a hint each.
printf 'name,1,9,host1,host9,switchA,rack\nfra3-hall2-row12-rack07-enclosure-upper-01,Fell,Fell,prod-db-cluster-node-001,\346\227\245\346\234\254-db,fra3-r12-r07-upper-swa-x,R7\nr8,Tarn,,a,,,R8 \303\274\n' >long.csv
printf '{"lldp": {"interface": {"eno1": {"chassis": {"SW-A.dc.example.com": {}}, "port": {"id": {"type": "ifname", "value": "swp1"}}}}}}' >caps/swp.json
printf 'name;1\nr;Tarn\n' >semicolons.csv
printf 'name,Bay 1,host 1\nr,Tarn,web\n' >baycolumn.csv
printf 'name,2,host2\nr,Crag,web\n' >failedbay.csv

# Kind (see above), expected exit status, then the arguments (shell words).
cases='text 0 --help
text 2 --plans
text 0 1=Fell host1=prod-db-cluster-node-001 9=Fell host9=x switchA=fra3-r12-r07-upper-swa-x
text 0 --plans long.csv
text 0 --plans long.csv --by switch
text 0 --plans long.csv --find FRA3-R12-R07-UPPER-SWA-X:1
text 2 --plans long.csv --find nosuch:1
text 2 --find nosuch:1 1=Fell switchA=sw-a
text 1 --verify web01=caps/swp.json 1=Tarn host1=web01 switchA=sw-a
text 2 --plans semicolons.csv --delimiter ,
text 2 --plans baycolumn.csv
text 2 --plans failedbay.csv
text 0 --version
text 0
text 0 --os linux 2=Tarn-M2
text 0 --format tsv --enclosure Standard --os WINDOWS 1=Tarn-M2 "3=Tarn +NIC upgrade" os1=linux 5=Crag
text 0 --format csv --catalogue cat.ini 1=Fell 9=Fell "3=Eight, half" 11=PlainHalf 4=Back\\slash os4=windows
text 0 --format json --catalogue cat.ini --os windows 1=Tarn-M3 "2=Eight, half" 10=PlainHalf 4=Back\\slash 13=ShareHalf
text 0 --format json
text 0 --catalogue cat.ini 2=PlainHalf 10=PlainHalf 5=Crag
text 3 --enclosure standard 1=Tarn-M3
text 3 --catalogue cat.ini 2=ShareHalf 10=PlainHalf
text 2 --bogus
text 2 --format xml
text 2 --enclosure deluxe
text 2 17=Tarn
text 2 os9=linux
text 2 1=Nope
text 2 2=Crag
text 2 1=Crag 3=Tarn
text 2 --enclosure standard 9=Fell
text 2 os1=windows
text 2 1=Tarn os1=windows
text 2 --catalogue missing.ini 1=Tarn
text 2 Tarn
text 2 --plans plans.csv 1=Tarn
ansi 2 --plans plans.csv --catalogue cat.ini
text 2 --plans plans.csv --catalogue cat.ini --format json --os windows
ansi 2 --plans plans.csv --catalogue cat.ini --format csv --enclosure standard
ansi 2 --plans plans.csv --catalogue cat.ini --format tsv
text 0 --plans good.csv
text 2 --plans badheader.csv
text 2 --plans missing.csv
text 0 --by switch --plans names.csv
text 0 --find A-3 2=Tarn-M2
text 1 --find B-9 2=Tarn-M2
cell 0 --format csv --find sw-a:1 --plans names.csv
text 0 --format html --plans names.csv
text 0 --format html --catalogue cat.ini 1=Fell "3=Eight, half" host1=web01
bytes 0 --format netbox-cables --name r7 2=Tarn-M2 host2=web02
bytes 0 --format netbox-interfaces --plans names.csv
bytes 0 --format netbox-cables --cable-status connected --plans names.csv
bytes 0 --format netbox-cables --site "Hall 3" --cable-label "{enclosure} {label}" --plans names.csv
bytes 0 --format netbox-interfaces --enclosure standard --interface-type bogus-type --mgmt-interface-type 1000base-kx 1=Tarn host1=x1
bytes 0 --format netbox-cables --plans eight-bit.csv
path 1 --plans names.csv --verify caps/
path 1 --plans names.csv --format json --verify caps/
text 1 --format csv --verify web01=caps/web01.json 1=Tarn host1=web01 switchA=sw-a
text 2 --verify web01=deep.json 1=Tarn host1=web01
path 2 --plans devices.csv --verify caps/
text 1 --check cat.ini
text 0 --list-types --catalogue cat.ini
text 0 --list-types --format json --catalogue cat.ini
text 0 --plans names.csv --format tsv
text 0 --plans names.csv --format json
cell 0 --plans crlf-cell.csv --format csv
cell 0 --plans names.csv --format csv
text 0 --plans eight-bit.csv --format json
text 0 --plans eight-bit.csv --format html
text 0 --plans eight-bit.csv --format dot
ansi 0 --plans eight-bit.csv
ansi 0 --plans eight-bit.csv --format tsv
ansi 0 --plans eight-bit.csv --format csv
ansi 0 --by switch --plans eight-bit.csv
text 0 --plans utf-16.csv --format csv
text 2 --plans adir
text 2 --catalogue adir 1=Tarn
text 2 --verify web01=adir 1=Tarn host1=web01
text 2 --format netbox-cables --by switch 1=Tarn
text 0 --format dot --plans names.csv
text 0 --format dot --by switch --name r7 --nic-name eno{n} 2=Tarn-M2 host2=web02
text 2 --format dot --plans devices.csv --switch-name core
path 1 --plans names.csv --format junit --verify caps/
text 2 --format junit --verify web01=caps/web01.json --verify nobody=caps/web01.json 1=Tarn host1=web01 switchA=sw-a
text 1 --diff names.csv names-new.csv
text 1 --diff names.csv names-new.csv --format tsv --all
cell 1 --diff names.csv names-new.csv --format csv
text 1 --diff names.csv names-new.csv --format json --by bay
ansi 1 --diff eight-bit.csv utf-16.csv
text 1 --diff names.csv names-new.csv --format html
text 1 --diff names.csv names-new.csv --format dot --by switch
text 0 --diff good.csv good.csv --format tsv
ansi 2 --diff plans.csv good.csv --catalogue cat.ini
text 2 --diff good.csv missing.csv
text 2 --diff good.csv names.csv --format netbox-cables'

failed=0
n=0
printf '%s\n' "$cases" >cases.txt
# Windows' text lines: exactly one CR taken before each LF; status 1 when an LF had none.
strip_cr() { perl -e 'local $/; $_ = <STDIN>; $bad = () = /(?<!\r)\n/g; s/\r\n/\n/g; print; exit($bad ? 1 : 0)'; }
from_1252() { perl -MEncode -e 'local $/; $_ = <STDIN>; print encode("UTF-8", decode("cp1252", $_))'; }
is_utf8() { perl -MEncode -e 'local $/; $_ = <STDIN>; exit(eval { decode("UTF-8", $_, Encode::FB_CROAK); 1 } ? 0 : 1)'; }
while IFS= read -r line; do
    n=$((n + 1))
    kind=${line%% *}
    line=${line#* }
    want=${line%% *}
    [ "$want" = "$line" ] && line="" || line=${line#* }
    eval "set -- $line"
    "$native" "$@" >native.out 2>native.err </dev/null
    native_status=$?
    # Wine maps Windows file names to Linux ones in the locale's encoding: UTF-8, as the files are named.
    LC_ALL=C.UTF-8 "$wine_exec" "$exe" "$@" >wine.out 2>wine.err </dev/null
    wine_status=$?
    problem=""
    case $kind in
    text) strip_cr <wine.out >wine.cmp || problem="$problem a line of standard output does not end in CR LF;"
          cp native.out native.cmp ;;
    bytes) cp wine.out wine.cmp && cp native.out native.cmp ;;
    cell) cp wine.out wine.cmp && perl -pe 's/(?<!\r)\n/\r\n/' native.out >native.cmp ;;
    path) strip_cr <wine.out >wine.lf || problem="$problem a line of standard output does not end in CR LF;"
          perl -pe 's{\\\\}{/}g; s{\\}{/}g' wine.lf >wine.cmp
          cp native.out native.cmp ;;
    ansi) strip_cr <wine.out >wine.lf || problem="$problem a line of standard output does not end in CR LF;"
          from_1252 <wine.lf >wine.cmp
          cp native.out native.cmp
          is_utf8 <wine.out && problem="$problem bwmap.exe wrote UTF-8, not the ANSI code page;" ;;
    *) problem="$problem unknown kind $kind;" ;;
    esac
    strip_cr <wine.err >wine.err.lf || problem="$problem a line of standard error does not end in CR LF;"
    if [ "$kind" = path ]; then perl -pi -e 's{\\}{/}g' wine.err.lf; fi
    is_utf8 <native.out || problem="$problem the native output is not UTF-8;"
    [ "$native_status" = "$want" ] || problem="$problem native status $native_status;"
    [ "$wine_status" = "$want" ] || problem="$problem Windows status $wine_status;"
    cmp -s native.cmp wine.cmp || problem="$problem standard output differs;"
    cmp -s native.err wine.err.lf || problem="$problem standard error differs;"
    [ -s native.out ] || [ -s native.err ] || problem="$problem no output at all;"
    if [ -n "$problem" ]; then
        failed=$((failed + 1))
        echo "case $n ($kind, bwmap $line), want status $want:$problem"
        diff native.cmp wine.cmp | head -20
        diff native.err wine.err.lf | head -20
    fi
done <cases.txt

# A reader that goes away ends both builds quietly; bwmap.exe with status 2, as the native one
# ends when SIGPIPE is ignored (with it, the signal ends the native one first).
{ echo "name,1,9"; i=0; while [ $i -lt 20000 ]; do echo "rack $i,Fell,Fell"; i=$((i + 1)); done; } >big.csv
for build in native windows; do
    if [ $build = native ]; then set -- "$native"; else set -- "$wine_exec" "$exe"; fi
    { "$@" --plans big.csv --format tsv 2>pipe.err; echo $? >pipe.status; } | head -1 >pipe.out
    n=$((n + 1))
    problem=""
    [ -s pipe.err ] && problem="$problem a message: $(cat pipe.err);"
    [ "$(tr -d '\r' <pipe.out)" = "$(printf 'Enclosure\tBay\tType\tOS\tSwitch port\tNIC')" ] || problem="$problem first line $(cat pipe.out);"
    [ $build = native ] || [ "$(cat pipe.status)" = 2 ] || problem="$problem status $(cat pipe.status);"
    if [ -n "$problem" ]; then
        failed=$((failed + 1))
        echo "closed pipe ($build):$problem"
    fi
done
echo "$n cases, $failed with a difference"
[ "$failed" = 0 ]
