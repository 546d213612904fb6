#!/usr/bin/env bash
# Times whole runs on small inputs, where starting the program is most of
# the work: quenorbial-sort, sort -V and cat over the first LINES lines of
# the tests' sample of real version strings, in interleaved rounds of
# `perf stat -r RUNS -e task-clock`. Prints Markdown: the median CPU time of
# the rounds, and the median of each round's ratios over sort -V and over
# cat, so that a change in the machine's load between rounds cancels out.
# Needs perf (linux-perf).
#
#   bash bench/small.sh                 # 10 and 1000 lines, build/
#   SMALL_ROUNDS=7 SMALL_RUNS=100 QUENORBIAL_SORT=path/to/quenorbial-sort \
#     BASELINE=path/to/old/quenorbial-sort bash bench/small.sh 10 100 1000
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
bin=${QUENORBIAL_SORT:-$root/build/quenorbial-sort}
baseline=${BASELINE:-}
sample=$root/tests/data/corpus-sample.txt
rounds=${SMALL_ROUNDS:-5}
runs=${SMALL_RUNS:-100}
[ $# -gt 0 ] || set -- 10 1000
[ -x "$bin" ] || { echo "small.sh: $bin: not built" >&2; exit 1; }
[ -z "$baseline" ] || [ -x "$baseline" ] || { echo "small.sh: $baseline: not built" >&2; exit 1; }
command -v perf > /dev/null || { echo "small.sh: perf: missing (package linux-perf)" >&2; exit 1; }
# sort's own rules for the C locale, and the same environment for all.
export LC_ALL=C

names=(quenorbial-sort "sort -V" cat)
commands=("$bin" "sort -V" cat)
if [ -n "$baseline" ]; then
  names+=(baseline)
  commands+=("$baseline")
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quenorbial-small.XXXXXX")
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

echo "CPU time (task-clock, ms) and ratios: medians of $rounds interleaved rounds of $runs runs each."
echo
echo "| lines | program | CPU ms | / sort -V | / cat |"
echo "|---:|---|---:|---:|---:|"
for lines in "$@"; do
  in=$work/in.$lines
  head -n "$lines" "$sample" > "$in"
  [ "$(wc -l < "$in")" -eq "$lines" ] || { echo "small.sh: the sample has fewer than $lines lines" >&2; exit 1; }
  # Ours must give what sort -V gives on these strings, so that the two do
  # the same work; the order differs where the orderings differ.
  "$bin" "$in" | sort | cmp -s - <(sort "$in") || { echo "small.sh: $bin: wrong lines" >&2; exit 1; }
  for ((r = 0; r < rounds; r++)); do
    for ((i = 0; i < ${#commands[@]}; i++)); do
      read -r -a cmd <<< "${commands[$i]}"
      perf stat -x, -o "$work/stat" -r "$runs" -e task-clock -- "${cmd[@]}" "$in" > /dev/null
      awk -F, '$3 ~ /^task-clock/ {print $1}' "$work/stat" >> "$work/times.$lines.$i"
    done
  done
  for ((i = 0; i < ${#commands[@]}; i++)); do
    t=$work/times.$lines
    echo "| $lines | ${names[$i]} | $(median < "$t.$i") |" \
      "$(paste -d' ' "$t.$i" "$t.1" | awk '{print $1 / $2}' | median | xargs printf %.2f) |" \
      "$(paste -d' ' "$t.$i" "$t.2" | awk '{print $1 / $2}' | median | xargs printf %.2f) |"
  done
done
