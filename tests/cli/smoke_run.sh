#!/usr/bin/env bash
# The command-line companion's round trip on a project in a folder with Chinese characters:
# a new project, a material list and a sheet of locations entered, then what the statistics,
# the tables and the evaluator say, and a checksum of the saved file. Everything it prints must
# equal expected.txt byte for byte, whichever system the companion was built for.
#   smoke_run.sh COMMAND...   (the companion, e.g. build/bin/tallyframe-cli or wine64 X.exe)
set -euo pipefail
companion=("$@")
fixtures=$(cd "$(dirname "$0")/smoke" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/工程 资料"
cp "$fixtures/materials.txt" "$fixtures/rooms.txt" "$work/工程 资料/"
cd "$work"

project="工程 资料/样板工程.gdb"
run() {
  local status=0
  printf '$ tallyframe-cli %s\n' "$*"
  "${companion[@]}" "$@" >out 2>err </dev/null || status=$?
  cat out err
  printf '[%d]\n' "$status"
}
{
  run new "$project"
  run materials import "$project" "工程 资料/materials.txt"
  run entry import "$project" "工程 资料/rooms.txt"
  run analysis "$project"
  run materials "$project"
  run stats "$project"
  run stats "$project" --filter 客厅 卫生间
  run info "$project"
  run eval "sin(360)" "tan(89.9999)" "2cos(120)+(1-3)*(2-3)" "2^10/3" "3.6米"
  printf 'project: %s\n' "$(sha256sum <"$project" | cut -c1-64)"
} >transcript 2>&1
diff -u "$fixtures/expected.txt" transcript
