#!/bin/sh
# Catalogue files that Windows' text mode reads otherwise than a plain byte reader, and a flag
# word too long for 32 bits: the native bwmap maps and checks each one as bwmap.exe under Wine
# does (line ends aside), and reads it from a pipe as from the file itself.
# usage: catalogue_files.sh WINE-EXEC NATIVE-BWMAP BWMAP-EXE SCRATCH-FOLDER
set -u
wine_exec=$1 native=$2 exe=$3 scratch=$4
export LC_ALL=C
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 1

# File name, its bytes (printf format), then the picks (shell words).
rows='crlf.ini|"A" 0x0 AB 12\r\n"B" 0x100 AABB 1212\r\n"C\r\n|2=B 3=A os2=windows
lone-cr.ini|"A" 0x0 AB 1\r2\n"B\rC" 0x0 AB 12\n"D" 0x0\rAB 12\r\r\n|1=A
ctrl-z.ini|"A" 0x0 AB 12\r\n"Z" 0x0 AB 34\032\r\n"B" 0x0 AB 12\r\n|2=Z 3=A
ctrl-z-in-a-name.ini|"A" 0x0 AB 12\n"B\032" 0x0 AB 12\n"C" 0x0 AB 12\n|2=B 3=C
long-flags.ini|"Big" 0x100004000 AB 12\n"Neg" 0x-100004000 AB 12\n"Lead" 0x000000000004000 AB 12\n|1=Big 2=Lead 3=Neg
nul-byte.ini|"A" 0x0 AB 12\000junk\n"B" 0x4000 AB 34\n\000"C" 0x0 AB 12\n|2=B
long-line.ini|"A" 0x0 AB 12%250s\r\n"B" 0x0 AB 12\r\n|2=B'

failed=0
n=0
run() {  # label, then the command: its output and status must equal the reference's
    label=$1
    shift
    "$@" >got.out 2>got.err </dev/null
    echo "status $?" >>got.out
    for f in got.out got.err; do sed 's/\r$//' "$f" >"$f.lf"; done
}
printf '%s\n' "$rows" >rows.txt
while IFS='|' read -r file bytes picks; do
    n=$((n + 1))
    # shellcheck disable=SC2059
    printf "$bytes" "" >"$file"
    eval "set -- $picks"
    for mode in map check; do
        if [ "$mode" = map ]; then set -- --catalogue "$file" "$@"; else set -- --check "$file"; fi
        run native "$native" "$@" && mv got.out.lf native.out && mv got.err.lf native.err
        run windows "$wine_exec" "$exe" "$@" && mv got.out.lf wine.out && mv got.err.lf wine.err
        # The same file through a pipe, named as the file is named.
        if [ "$mode" = map ]; then shift 2; set -- --catalogue /dev/stdin "$@"; else set -- --check /dev/stdin; fi
        cat "$file" | "$native" "$@" >pipe.raw 2>pipe.err
        echo "status $?" >>pipe.raw
        sed "s|^/dev/stdin:|$file:|" pipe.raw >pipe.out
        problem=""
        cmp -s native.out wine.out || problem="$problem standard output differs from bwmap.exe's;"
        cmp -s native.err wine.err || problem="$problem standard error differs from bwmap.exe's;"
        cmp -s native.out pipe.out || problem="$problem the pipe's output differs from the file's;"
        [ "$(wc -l <native.out)" -gt 1 ] || [ -s native.err ] || problem="$problem no output at all;"
        if [ -n "$problem" ]; then
            failed=$((failed + 1))
            echo "$file ($mode):$problem"
            diff native.out wine.out | head -10
            diff native.err wine.err | head -10
            diff native.out pipe.out | head -10
        fi
        eval "set -- $picks"
    done
done <rows.txt
echo "$n files, $failed runs with a difference"
[ "$failed" = 0 ]
