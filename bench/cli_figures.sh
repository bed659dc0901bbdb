#!/usr/bin/env bash
# Whole-process figures of the command-line program on large sample projects: the median of
# five runs (wall seconds and peak resident memory), and statistics against sqlite3 importing
# the same analysis rows as TSV and grouping them the same way.
#
#   bench/cli_figures.sh [CLI] [--million]
#
# CLI defaults to the Release build's (make bench). --million adds the 1,000,000-row project
# (128,000 locations; writing it takes a while). Samples are kept in $TF_BENCH_DIR (default
# build/bench/samples) between runs.
set -euo pipefail

cli=build/bench/bin/tallyframe-cli
million=false
for arg in "$@"; do
  case $arg in
    --million) million=true ;;
    *) cli=$arg ;;
  esac
done
work=${TF_BENCH_DIR:-build/bench/samples}
mkdir -p "$work"
timing=$(mktemp)
trap 'rm -f "$timing"' EXIT

# Runs "$@" `runs` times (5 unless set; after `prepare`, untimed, when one is set) and prints
# the median.
measure() {
  local label=$1
  shift
  local count=${runs:-5} times=()
  for ((i = 0; i < count; ++i)); do
    if [[ -n ${prepare:-} ]]; then eval "$prepare"; fi
    /usr/bin/time -f '%e %M' -o "$timing" "$@" >/dev/null 2>&1
    times+=("$(cat "$timing")")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$((count / 2 + 1))p" |
    awk -v label="$label" '{ printf "%-58s %7.2f s %8.0f MB\n", label, $1, $2 / 1024 }'
}

sample() {  # sample LOCATIONS FILE
  [[ -f $2 ]] || "$cli" sample "$2" --locations "$1" >/dev/null
}

# An entry sheet (GBK, CRLF) of COUNT locations of ROWS rows each.
sheet() {  # sheet COUNT ROWS FILE
  awk -v n="$1" -v rows="$2" 'BEGIN {
    for (k = 0; k < n; ++k)
      for (r = 0; r < rows; ++r)
        printf "新部位%d\t建施-99\t10×10×3\t030201\t4.2*5.1\t\t水泥砂浆\t水泥砂浆1:3\t0.02\t\r\n", k
  }' | iconv -f UTF-8 -t GB18030 >"$3"
}

# sqlite3 importing the analysis rows and summing material quantities by name and unit,
# the work `stats` does, timed as the commands are.
sqlite_stats() {  # sqlite_stats LABEL FILE
  local tsv=$work/$(basename "$2" .gdb).tsv
  [[ -f $tsv ]] || "$cli" analysis "$2" >"$tsv"
  local columns
  columns=$(seq -f 'c%g' 1 13 | paste -sd,)
  measure "$1" sqlite3 :memory: "CREATE TABLE a($columns);" ".mode tabs" ".import $tsv a" \
    "SELECT c9, c11, sum(c10) FROM a GROUP BY c9, c11;"
}

sample 10000 "$work/big.gdb"
sample 20000 "$work/big20000.gdb"
sheet 1 4 "$work/one.txt"
sheet 200 4 "$work/two-hundred.txt"
sheet 1 20000 "$work/long.txt"

measure "info (10,000 locations, 78,158 rows)" "$cli" info "$work/big.gdb"
# Each entry goes into a fresh copy, written out first so that its writing is not timed.
prepare="cp $work/big.gdb $work/scratch.gdb && sync" \
  measure "entry import of one location into it" "$cli" entry import "$work/scratch.gdb" "$work/one.txt"
prepare="cp $work/big.gdb $work/scratch.gdb && sync" \
  measure "entry import of one location of 20,000 rows" "$cli" entry import "$work/scratch.gdb" "$work/long.txt"
prepare="cp $work/big20000.gdb $work/scratch.gdb && sync" \
  measure "entry import of 200 locations into 156,000 rows" "$cli" entry import "$work/scratch.gdb" "$work/two-hundred.txt"
prepare="cp $work/big20000.gdb $work/scratch.gdb && sync" \
  measure "entry import of one location into 156,000 rows" "$cli" entry import "$work/scratch.gdb" "$work/one.txt"
measure "stats (10,000 locations)" "$cli" stats "$work/big.gdb"
measure "stats --filter (10,000 locations, all ticked)" "$cli" stats "$work/big.gdb" --filter
sqlite_stats "sqlite3: import the same rows as TSV and GROUP BY" "$work/big.gdb"
measure "export 分析表 (78,158 rows) to .xlsx" "$cli" export "$work/big.gdb" --table 分析表 "$work/big.xlsx"
measure "export --all (10,000 locations) to .xlsx" "$cli" export "$work/big.gdb" --all "$work/all.xlsx"
rm -f "$work/scratch.gdb"

if $million; then
  [[ -f $work/million.gdb ]] ||
    runs=1 measure "sample --locations 128000 (batch entry), one run" \
      "$cli" sample "$work/million.gdb" --locations 128000
  measure "info (1,000,000 rows)" "$cli" info "$work/million.gdb"
  measure "stats (1,000,000 rows)" "$cli" stats "$work/million.gdb"
  measure "stats --filter (1,000,000 rows, all ticked)" "$cli" stats "$work/million.gdb" --filter
  measure "export 分析表 (1,000,000 rows) to .xlsx" "$cli" export "$work/million.gdb" --table 分析表 "$work/million.xlsx"
  sqlite_stats "sqlite3 on the 1,000,000 rows" "$work/million.gdb"
fi
