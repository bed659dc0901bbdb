#!/usr/bin/env bash
# Kills saves of a project at random moments. After each kill the project must open with its
# old or its new content, never a mix, and opening it must leave no temporary file behind.
# usage: kill_during_save.sh TALLYFRAME_CLI [KILLS]
set -u
cli=$1
kills=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "kill_during_save: $*" >&2; exit 1; }

"$cli" sample "$work/a.gdb" --locations 400 >/dev/null || fail "no sample"
# Two structures to switch between: every save writes one of two known images.
"$cli" structure export "$work/a.gdb" "$work/one.gd" >/dev/null || fail "no export"
"$cli" sample "$work/b.gdb" --locations 1 >/dev/null || fail "no second sample"
"$cli" new "$work/c.gdb" >/dev/null || fail "no empty project"
"$cli" structure export "$work/c.gdb" "$work/two.gd" >/dev/null || fail "no second export"
"$cli" structure import "$work/a.gdb" "$work/one.gd" >/dev/null || fail "first save"
# What tells the two apart: the size of the structure's item table.
structureOf() { "$cli" info "$1" 2>/dev/null | grep '^table-bytes:'; }
one=$(structureOf "$work/a.gdb")
"$cli" structure import "$work/a.gdb" "$work/two.gd" >/dev/null || fail "second save"
two=$(structureOf "$work/a.gdb")
[[ "$one" != "$two" ]] || fail "the two structures are the same"
rows=$("$cli" analysis "$work/a.gdb" | sha256sum)

midWrite=0  # kills that left a temporary file: they hit a save in the middle of its write
for ((i = 1; i <= kills; i++)); do
    structure=$work/one.gd
    ((i % 2 == 0)) && structure=$work/two.gd
    "$cli" structure import "$work/a.gdb" "$structure" >/dev/null 2>&1 &
    pid=$!
    if ((i % 3 == 0)); then
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))"  # anywhere in the run
    else
        # Soon after its temporary file appears: in the middle of the write.
        for ((t = 0; t < 100000; t++)); do
            compgen -G "$work/.tf*.tmp" >/dev/null && break
            kill -0 "$pid" 2>/dev/null || break
        done
        ((i % 3 == 1)) && sleep "0.00$((RANDOM % 5))"
    fi
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    caught=$(find "$work" -name '.*' -type f | wc -l)
    ((midWrite += caught > 0))
    now=$(structureOf "$work/a.gdb") || fail "kill $i: does not open"
    [[ "$now" == "$one" || "$now" == "$two" ]] || fail "kill $i: the structure is neither old nor new"
    leftovers=$(find "$work" -name '.*' -type f | wc -l)
    ((leftovers == 0)) || fail "kill $i: $leftovers temporary files left after an open"
done
[[ $("$cli" analysis "$work/a.gdb" | sha256sum) == "$rows" ]] || fail "the rows changed"
echo "kill_during_save: $kills kills ($midWrite in the middle of a write), every file opened whole"
