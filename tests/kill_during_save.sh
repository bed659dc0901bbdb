#!/usr/bin/env bash
# Kills saves of a project at random moments. After each kill the project must open with its
# old or its new content, never a mix, and opening it must leave nothing behind: no temporary
# file beside it, no safety copy or journal in the user's cache.
# usage: kill_during_save.sh TALLYFRAME_CLI [KILLS] [rename|inplace|first]
#   rename   saves that write a new file and rename it over the project (the usual path)
#   inplace  saves of a hard-linked project, rewritten in place behind a safety copy
#   first    first saves of new projects: the name appears whole or not at all
set -u
cli=$1
kills=${2:-50}
mode=${3:-rename}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache  # the safety copies of saves in place go here
cache=$XDG_CACHE_HOME/Tallyframe
fail() { echo "kill_during_save ($mode): $*" >&2; exit 1; }

"$cli" sample "$work/a.gdb" --locations 400 >/dev/null || fail "no sample"
# Two structures to switch between: every save writes one of two known images.
"$cli" structure export "$work/a.gdb" "$work/one.gd" >/dev/null || fail "no export"
"$cli" sample "$work/b.gdb" --locations 1 >/dev/null || fail "no second sample"
"$cli" new "$work/c.gdb" >/dev/null || fail "no empty project"
"$cli" structure export "$work/c.gdb" "$work/two.gd" >/dev/null || fail "no second export"
"$cli" structure import "$work/a.gdb" "$work/one.gd" >/dev/null || fail "first save"
# What tells the two apart: the size of the structure's item table.
structureOf() { "$cli" info "$1" 2>>"$work/told" | grep '^table-bytes:'; }
one=$(structureOf "$work/a.gdb")
"$cli" structure import "$work/a.gdb" "$work/two.gd" >/dev/null || fail "second save"
two=$(structureOf "$work/a.gdb")
[[ "$one" != "$two" ]] || fail "the two structures are the same"
rows=$("$cli" analysis "$work/a.gdb" | sha256sum)
[[ $mode == inplace ]] && ln "$work/a.gdb" "$work/a-link.gdb"
: >"$work/told"

leftovers() { find "$work" -maxdepth 1 -name '.*' -type f | wc -l; }
midWrite=0  # kills that left something behind: they hit a save in the middle of its write
for ((i = 1; i <= kills; i++)); do
    if [[ $mode == first ]]; then
        rm -f "$work/n.gdb"
        "$cli" sample "$work/n.gdb" --locations 400 >/dev/null 2>&1 &
    else
        structure=$work/one.gd
        ((i % 2 == 0)) && structure=$work/two.gd
        "$cli" structure import "$work/a.gdb" "$structure" >/dev/null 2>&1 &
    fi
    pid=$!
    if ((i % 3 == 0)); then
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))"  # anywhere in the run
    else
        # Soon after its temporary file or safety copy appears: in the middle of the write.
        for ((t = 0; t < 100000; t++)); do
            compgen -G "$work/.tf*.tmp" >/dev/null && break
            compgen -G "$cache/.tf*.tmp" >/dev/null && break
            kill -0 "$pid" 2>/dev/null || break
        done
        ((i % 3 == 1)) && sleep "0.00$((RANDOM % 5))"
    fi
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    caught=$(($(leftovers) + $(find "$cache" -type f 2>/dev/null | wc -l)))
    ((midWrite += caught > 0))
    if [[ $mode == first ]]; then
        if [[ -e $work/n.gdb ]]; then
            [[ -s $work/n.gdb ]] || fail "kill $i: an empty project"
            "$cli" info "$work/n.gdb" 2>&1 | grep -qx 'integrity: whole' ||
                fail "kill $i: the new project is not whole"
        fi
        structureOf "$work/a.gdb" >/dev/null || fail "kill $i: a.gdb does not open"
    else
        now=$(structureOf "$work/a.gdb") || fail "kill $i: does not open"
        [[ "$now" == "$one" || "$now" == "$two" ]] || fail "kill $i: the structure is neither old nor new"
    fi
    (($(leftovers) == 0)) || fail "kill $i: $(leftovers) temporary files left after an open"
    (($(find "$cache" -type f 2>/dev/null | wc -l) == 0)) ||
        fail "kill $i: safety copies left after an open: $(ls -A "$cache")"
done
[[ $("$cli" analysis "$work/a.gdb" | sha256sum) == "$rows" ]] || fail "the rows changed"
restored=$(grep -c '已从安全副本恢复' "$work/told")
echo "kill_during_save ($mode): $kills kills ($midWrite in the middle of a write," \
     "$restored torn projects restored), every file opened whole, nothing left behind"
