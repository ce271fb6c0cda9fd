#!/usr/bin/env bash
# bench/run_bench.py --work: a second run into the same folder works, a folder left by a
# stopped run does not stop the next one, nothing the runs make is left afterwards, what was
# in the folder before stays, and a folder of the benchmark's name that it did not make stops
# the run untouched. Arguments: run_bench.py, tavrin-convert, a scratch folder.
set -euo pipefail
script=$1 tool=$2 scratch=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
run() {
  python3 "$script" --tool "$tool" --window-tool /nonexistent --runs 1 --scale 0.005 --big-mib 1 \
    --tree-copies 2 --tree-scale 0.005 --long-line-mib 1 --work "$1"
}
rm -rf "$scratch"
mkdir -p "$scratch/own"
echo keep >"$scratch/own/Projekt"

run "$scratch/new/deeper" >/dev/null
run "$scratch/new/deeper" >/dev/null || fail "second run into the same folder"
[ ! -e "$scratch/new" ] || fail "left behind: $(find "$scratch/new")"

mkdir -p "$scratch/own/tavrin-bench/Gross/Gross.vbp"  # as a stopped run might leave it
touch "$scratch/own/tavrin-bench/.tavrin-bench"
run "$scratch/own" >/dev/null || fail "run after a stopped one"
[ "$(ls -A "$scratch/own")" = "Projekt" ] || fail "left behind: $(ls -A "$scratch/own")"
[ "$(cat "$scratch/own/Projekt")" = keep ] || fail "the folder's own file changed"

mkdir "$scratch/own/tavrin-bench"
echo mine >"$scratch/own/tavrin-bench/Liste"
if run "$scratch/own" >/dev/null 2>&1; then fail "ran in a folder it did not make"; fi
[ "$(cat "$scratch/own/tavrin-bench/Liste")" = mine ] || fail "touched a folder it did not make"

rm -rf "$scratch"
echo "ok"
