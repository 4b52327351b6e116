#!/bin/sh
# bwmap.exe under Wine prints the same bytes as the native bwmap (line ends aside), with the
# same exit status, for every row of a table of argument lists.
# usage: same_bytes.sh WINE-EXEC NATIVE-BWMAP BWMAP-EXE SCRATCH-FOLDER
set -u
wine_exec=$1 native=$2 exe=$3 scratch=$4
export LC_ALL=C
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

# Expected exit status, then the arguments (shell words).
cases='0 --help
0 --version
0
0 --os linux 2=Tarn-M2
0 --format tsv --enclosure Standard --os WINDOWS 1=Tarn-M2 "3=Tarn +NIC upgrade" os1=linux 5=Crag
0 --format csv --catalogue cat.ini 1=Fell 9=Fell "3=Eight, half" 11=PlainHalf 4=Back\\slash os4=windows
0 --format json --catalogue cat.ini --os windows 1=Tarn-M3 "2=Eight, half" 10=PlainHalf 4=Back\\slash 13=ShareHalf
0 --format json
0 --catalogue cat.ini 2=PlainHalf 10=PlainHalf 5=Crag
3 --enclosure standard 1=Tarn-M3
3 --catalogue cat.ini 2=ShareHalf 10=PlainHalf
2 --bogus
2 --format xml
2 --enclosure deluxe
2 17=Tarn
2 os9=linux
2 1=Nope
2 2=Crag
2 1=Crag 3=Tarn
2 --enclosure standard 9=Fell
2 os1=windows
2 1=Tarn os1=windows
2 --catalogue missing.ini 1=Tarn
2 Tarn
2 --plans plans.csv 1=Tarn
2 --plans plans.csv --catalogue cat.ini
2 --plans plans.csv --catalogue cat.ini --format json --os windows
2 --plans plans.csv --catalogue cat.ini --format csv --enclosure standard
2 --plans plans.csv --catalogue cat.ini --format tsv
0 --plans good.csv
2 --plans badheader.csv
2 --plans missing.csv'

failed=0
n=0
printf '%s\n' "$cases" >cases.txt
while IFS= read -r line; do
    n=$((n + 1))
    want=${line%% *}
    [ "$want" = "$line" ] && line="" || line=${line#* }
    eval "set -- $line"
    "$native" "$@" >native.out 2>native.err </dev/null
    native_status=$?
    "$wine_exec" "$exe" "$@" >wine.out 2>wine.err </dev/null
    wine_status=$?
    for f in wine.out wine.err; do sed 's/\r$//' "$f" >"$f.lf"; done
    problem=""
    [ "$native_status" = "$want" ] || problem="$problem native status $native_status;"
    [ "$wine_status" = "$want" ] || problem="$problem Windows status $wine_status;"
    cmp -s native.out wine.out.lf || problem="$problem standard output differs;"
    cmp -s native.err wine.err.lf || problem="$problem standard error differs;"
    [ -s native.out ] || [ -s native.err ] || problem="$problem no output at all;"
    if [ -n "$problem" ]; then
        failed=$((failed + 1))
        echo "case $n (bwmap $line), want status $want:$problem"
        diff native.out wine.out.lf | head -20
        diff native.err wine.err.lf | head -20
    fi
done <cases.txt
echo "$n cases, $failed with a difference"
[ "$failed" = 0 ]
