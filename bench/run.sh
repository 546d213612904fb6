#!/usr/bin/env bash
# Times quenorbial-sort against GNU sort on 1M and 10M real version strings,
# runs alternating, and checks its speed and memory targets. Prints Markdown.
#
#   bash bench/run.sh                 # after building into build/
#   BENCH_RUNS=5 BENCH_TMPDIR=/var/tmp QUENORBIAL_SORT=path/to/quenorbial-sort bash bench/run.sh
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
bin=${QUENORBIAL_SORT:-$root/build/quenorbial-sort}
corpus=${BENCH_CORPUS:-$root/../shared/corpus/registry-versions.txt}
runs=${BENCH_RUNS:-3}
[ -x "$bin" ] || { echo "run.sh: $bin: not built" >&2; exit 1; }
[ -r "$corpus" ] || { echo "run.sh: $corpus: cannot read" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "run.sh: /usr/bin/time: missing (package time)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-${TMPDIR:-/tmp}}/quenorbial-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Tiles the corpus to $2 lines, each tile shuffled, with a fixed seed.
make_input() {
  python3 - "$corpus" "$2" > "$1" <<'EOF'
import random, sys
lines = open(sys.argv[1], 'rb').read().split(b'\n')[:-1]
n = int(sys.argv[2])
rng = random.Random(1)
out = []
while len(out) < n:
    rng.shuffle(lines)
    out += lines
sys.stdout.buffer.write(b'\n'.join(out[:n]) + b'\n')
EOF
}

names=(quenorbial-sort "sort -V -S 50% --parallel=1" "sort -V" "sort (bytes) --parallel=1")
commands=(""
          "env LC_ALL=C sort -V --parallel=1 -S 50%"
          "env LC_ALL=C sort -V"
          "env LC_ALL=C sort --parallel=1")

# Runs command INDEX on INPUT into OUTPUT; appends "wall_seconds peak_kib" to
# $work/times.TAG.
timed() {  # timed TAG INDEX INPUT OUTPUT
  local cmd=("$bin")
  [ "$2" -eq 0 ] || read -r -a cmd <<< "${commands[$2]}"
  /usr/bin/time -f '%e %M' -o "$work/t" "${cmd[@]}" "$3" > "$4"
  cat "$work/t" >> "$work/times.$1"
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
wall_of() { cut -d' ' -f1 "$work/times.$1" | median; }
rss_of() { cut -d' ' -f2 "$work/times.$1" | median; }

# Fails the run unless $1 holds exactly the lines of $2 (sorted bytewise).
same_lines() {
  LC_ALL=C sort -S 25% "$1" | cmp -s - "$2" ||
    { echo "run.sh: $1: not the input's lines" >&2; exit 1; }
}

declare -A wall rss
for size in 1000000 10000000; do
  input=$work/in.$size
  make_input "$input" "$size"
  LC_ALL=C sort -S 25% "$input" > "$work/sorted.$size"
  for ((r = 0; r < runs; r++)); do
    for i in 0 1 2 3; do
      out=$work/out.$size.$i.$r
      timed "$size.$i" "$i" "$input" "$out"
      if [ "$r" -eq 0 ]; then
        same_lines "$out" "$work/sorted.$size"
      else  # each run of a program writes what its first run wrote
        cmp -s "$out" "$work/out.$size.$i.0" ||
          { echo "run.sh: ${names[$i]}: output changed between runs" >&2; exit 1; }
        rm -f "$out"
      fi
    done
  done
  for i in 0 1 2 3; do
    wall[$size.$i]=$(wall_of "$size.$i")
    rss[$size.$i]=$(rss_of "$size.$i")
  done
  rm -f "$work"/out.$size.* "$work/sorted.$size"
  [ "$size" -eq 1000000 ] && rm -f "$input"
done

# One line of 256 MiB, and 10M empty lines.
big=$work/big
{ head -c $((256 << 20)) /dev/zero | tr '\0' '7'; echo; } > "$big"
timed big 0 "$big" "$work/out.big"
cmp -s "$big" "$work/out.big" || { echo "run.sh: the 256 MiB line came out changed" >&2; exit 1; }
rm -f "$big" "$work/out.big"
empty=$work/empty
head -c 10000000 /dev/zero | tr '\0' '\n' > "$empty"
for ((r = 0; r < runs; r++)); do
  timed empty.0 0 "$empty" "$work/out.empty"
  cmp -s "$empty" "$work/out.empty" || { echo "run.sh: empty lines came out changed" >&2; exit 1; }
  timed empty.2 2 "$empty" "$work/out.empty"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.0f", k / 1024}'; }
check() { awk -v v="$1" -v lim="$2" 'BEGIN {print (v <= lim ? "pass" : "FAIL")}'; }

echo "Median of $runs alternating runs each; wall time in seconds, peak RSS in MiB;"
echo "ratios are each program's figure over quenorbial-sort's."
echo
echo "| lines | program | wall | peak RSS | wall / ours | RSS / ours |"
echo "|---|---|---:|---:|---:|---:|"
for size in 1000000 10000000; do
  for i in 0 1 2 3; do
    echo "| $((size / 1000000))M | ${names[$i]} | ${wall[$size.$i]} | $(mib "${rss[$size.$i]}") |" \
         "$(ratio "${wall[$size.$i]}" "${wall[$size.0]}") | $(ratio "${rss[$size.$i]}" "${rss[$size.0]}") |"
  done
done

t=10000000
big_rss=$(rss_of big)
empty_rss=$(rss_of empty.0)
empty_gnu=$(rss_of empty.2)
r1=$(ratio "${wall[$t.0]}" "${wall[$t.1]}")
r2=$(ratio "${wall[$t.0]}" "${wall[$t.2]}")
r3=$(ratio "${wall[$t.0]}" "${wall[$t.3]}")
m1=$(ratio "${rss[$t.0]}" "${rss[$t.1]}")
m2=$(ratio "${rss[$t.0]}" "${rss[$t.2]}")
g=$(ratio "${wall[$t.0]}" "${wall[1000000.0]}")
big_limit=$(( (256 * 5 / 2 + 64) * 1024 ))
e=$(ratio "$empty_rss" "$empty_gnu")
echo
echo "| target | measured | limit | result |"
echo "|---|---:|---:|---|"
echo "| wall, 10M: ours / sort -V --parallel=1 | $r1 | 0.30 | $(check "$r1" 0.30) |"
echo "| wall, 10M: ours / sort -V | $r2 | 0.60 | $(check "$r2" 0.60) |"
echo "| wall, 10M: ours / byte sort (aim) | $r3 | 1.00 | $(check "$r3" 1.00) |"
echo "| peak RSS, 10M: ours / sort -V --parallel=1 | $m1 | 0.60 | $(check "$m1" 0.60) |"
echo "| peak RSS, 10M: ours / sort -V | $m2 | 0.60 | $(check "$m2" 0.60) |"
echo "| bytes a line at peak, 10M | $(awk -v k="${rss[$t.0]}" 'BEGIN {printf "%.1f", k * 1024 / 1e7}') | | |"
echo "| growth: wall(10M) / wall(1M) | $g | 13 | $(check "$g" 13) |"
echo "| one 256 MiB line: peak RSS, MiB | $(mib "$big_rss") | $(mib "$big_limit") | $(check "$big_rss" "$big_limit") |"
echo "| 10M empty lines: ours / sort -V, peak RSS | $e ($(mib "$empty_rss") / $(mib "$empty_gnu") MiB) | 0.60 | $(check "$e" 0.60) |"

cmp_bench=${COMPARE_BENCH:-$root/build/bench/compare_bench}
if [ -x "$cmp_bench" ]; then
  echo
  echo '```'
  "$cmp_bench" --benchmark_min_time=0.2 2>/dev/null | grep -E '^(BM_|Benchmark|-)' || true
  echo '```'
fi
