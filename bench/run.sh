#!/usr/bin/env bash
# Times quenorbial-sort against GNU sort, runs alternating, and checks its
# speed and memory targets. Inputs: real version strings (data/, with how
# often each occurs) tiled to 1M and 10M lines (few different strings, many
# repeats), 5M different Debian-like and 5M different registry-like
# strings, and the registry-like ones already sorted and in reverse. Prints
# Markdown. Needs only the tree, a build in build/, python3 and /usr/bin/time.
#
#   bash bench/run.sh                 # after building into build/
#   BENCH_RUNS=5 BENCH_TMPDIR=/var/tmp QUENORBIAL_SORT=path/to/quenorbial-sort \
#     BASELINE=path/to/old/quenorbial-sort bash bench/run.sh
#
# BASELINE is another build of the program, timed beside ours with our
# library, so that the ratio is the program's own.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
bin=${QUENORBIAL_SORT:-$root/build/quenorbial-sort}
baseline=${BASELINE:-}
counter=$root/build/bench/libcount_calls.so
cmp_bench=$root/build/bench/compare_bench
corpus=$here/data/registry-counts.txt
runs=${BENCH_RUNS:-3}
[ -x "$bin" ] || { echo "run.sh: $bin: not built" >&2; exit 1; }
[ -z "$baseline" ] || [ -x "$baseline" ] || { echo "run.sh: $baseline: not built" >&2; exit 1; }
[ -r "$counter" ] || { echo "run.sh: $counter: not built" >&2; exit 1; }
[ -r "$corpus" ] || { echo "run.sh: $corpus: cannot read" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "run.sh: /usr/bin/time: missing (package time)" >&2; exit 1; }
command -v python3 > /dev/null || { echo "run.sh: python3: missing (package python3)" >&2; exit 1; }
lib_dir=$(dirname "$(ldd "$bin" | awk '$1 ~ /^libquenorbial/ {print $3}')")

work=$(mktemp -d "${BENCH_TMPDIR:-${TMPDIR:-/tmp}}/quenorbial-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Tiles the corpus to $2 lines, each tile shuffled, with a fixed seed. The
# corpus is "COUNT<tab>STRING" lines: each string as often as it was seen.
tile_corpus() {
  python3 - "$corpus" "$2" > "$1" <<'EOF'
import random, sys
lines = []
for entry in open(sys.argv[1], 'rb').read().split(b'\n')[:-1]:
    count, string = entry.split(b'\t', 1)
    lines += [string] * int(count)
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
commands=("$bin"
          "env LC_ALL=C sort -V --parallel=1 -S 50%"
          "env LC_ALL=C sort -V"
          "env LC_ALL=C sort --parallel=1")
if [ -n "$baseline" ]; then
  names+=(baseline)
  commands+=("env LD_LIBRARY_PATH=$lib_dir $baseline")
fi
programs=${#names[@]}

# Runs command INDEX on INPUT into OUTPUT; appends "wall_seconds peak_kib" to
# $work/times.TAG.
timed() {  # timed TAG INDEX INPUT OUTPUT
  local cmd
  read -r -a cmd <<< "${commands[$2]}"
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

# Library calls a line of ours and of the baseline on input $2, preloading
# the counter, into calls[$1.INDEX].
count_calls() {  # count_calls NAME INPUT
  local lines n i cmd
  lines=$(wc -l < "$2")
  for i in 0 4; do
    [ "$i" -lt "$programs" ] || continue
    read -r -a cmd <<< "${commands[$i]}"
    LD_PRELOAD=$counter "${cmd[@]}" "$2" 2> "$work/calls" > /dev/null
    n=$(awk '/^quenorbial_compare4 calls:/ {print $3}' "$work/calls")
    calls[$1.$i]=$(awk -v n="$n" -v l="$lines" 'BEGIN {printf "%.2f", n / l}')
  done
}

# Times every program on input $2, named $1, $runs times alternating.
measure() {  # measure NAME INPUT
  local r i out
  LC_ALL=C sort -S 25% "$2" > "$work/sorted"
  for ((r = 0; r < runs; r++)); do
    for ((i = 0; i < programs; i++)); do
      out=$work/out.$i.$r
      timed "$1.$i" "$i" "$2" "$out"
      if [ "$r" -eq 0 ]; then
        same_lines "$out" "$work/sorted"
      else  # each run of a program writes what its first run wrote
        cmp -s "$out" "$work/out.$i.0" ||
          { echo "run.sh: ${names[$i]}: output changed between runs" >&2; exit 1; }
        rm -f "$out"
      fi
    done
  done
  if [ "$programs" -gt 4 ]; then  # the same library, so the same bytes
    cmp -s "$work/out.0.0" "$work/out.4.0" ||
      { echo "run.sh: $1: ours and the baseline's output differ" >&2; exit 1; }
  fi
  for ((i = 0; i < programs; i++)); do
    wall[$1.$i]=$(wall_of "$1.$i")
    rss[$1.$i]=$(rss_of "$1.$i")
  done
  count_calls "$1" "$2"
  rm -f "$work"/out.* "$work/sorted"
}

declare -A wall rss calls
inputs=(tiled-1M tiled-10M debian-5M registry-5M sorted-5M reversed-5M)
in=$work/in
tile_corpus "$in" 1000000
measure tiled-1M "$in"
tile_corpus "$in" 10000000
measure tiled-10M "$in"
python3 "$here/make_versions.py" debian 5000000 > "$in"
measure debian-5M "$in"
python3 "$here/make_versions.py" registry 5000000 > "$in"
measure registry-5M "$in"
"$bin" "$in" > "$in.next" && mv "$in.next" "$in"
measure sorted-5M "$in"
tac "$in" > "$in.next" && mv "$in.next" "$in"
measure reversed-5M "$in"
rm -f "$in"

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
echo "ratios are each program's figure over quenorbial-sort's; calls are"
echo "quenorbial_compare4 calls a line."
echo
echo "| input | program | wall | peak RSS | wall / ours | RSS / ours | calls |"
echo "|---|---|---:|---:|---:|---:|---:|"
for name in "${inputs[@]}"; do
  for ((i = 0; i < programs; i++)); do
    echo "| $name | ${names[$i]} | ${wall[$name.$i]} | $(mib "${rss[$name.$i]}") |" \
         "$(ratio "${wall[$name.$i]}" "${wall[$name.0]}") | $(ratio "${rss[$name.$i]}" "${rss[$name.0]}") |" \
         "${calls[$name.$i]:-} |"
  done
done

# One row: ours over program OTHER on input NAME, by wall time or peak RSS.
target() {  # target TEXT NAME OTHER LIMIT [wall|rss]
  local -n fig=${5:-wall}
  local v
  v=$(ratio "${fig[$2.0]}" "${fig[$2.$3]}")
  echo "| $1 | $v | $4 | $(check "$v" "$4") |"
}

t=tiled-10M
big_rss=$(rss_of big)
empty_rss=$(rss_of empty.0)
empty_gnu=$(rss_of empty.2)
g=$(ratio "${wall[$t.0]}" "${wall[tiled-1M.0]}")
big_limit=$(( (256 * 5 / 2 + 64) * 1024 ))
e=$(ratio "$empty_rss" "$empty_gnu")
echo
echo "| target | measured | limit | result |"
echo "|---|---:|---:|---|"
for name in debian-5M registry-5M; do
  target "wall, $name: ours / sort -V --parallel=1" $name 1 0.25
  target "peak RSS, $name: ours / sort -V" $name 2 0.50 rss
done
for name in "${inputs[@]}"; do
  target "wall, $name: ours / byte sort" $name 3 1.00
done
target "wall, sorted-5M: ours / sort -V --parallel=1" sorted-5M 1 0.15
target "wall, tiled-10M: ours / sort -V --parallel=1" $t 1 0.30
target "wall, tiled-10M: ours / sort -V" $t 2 0.60
target "peak RSS, tiled-10M: ours / sort -V --parallel=1" $t 1 0.60 rss
target "peak RSS, tiled-10M: ours / sort -V" $t 2 0.60 rss
echo "| bytes a line at peak, tiled-10M | $(awk -v k="${rss[$t.0]}" 'BEGIN {printf "%.1f", k * 1024 / 1e7}') | | |"
echo "| growth: wall(10M) / wall(1M), tiled | $g | 13 | $(check "$g" 13) |"
echo "| one 256 MiB line: peak RSS, MiB | $(mib "$big_rss") | $(mib "$big_limit") | $(check "$big_rss" "$big_limit") |"
echo "| 10M empty lines: ours / sort -V, peak RSS | $e ($(mib "$empty_rss") / $(mib "$empty_gnu") MiB) | 0.60 | $(check "$e" 0.60) |"

if [ -x "$cmp_bench" ]; then
  echo
  echo '```'
  "$cmp_bench" --benchmark_min_time=0.2 2>/dev/null | grep -E '^(BM_|Benchmark|-)' || true
  echo '```'
fi
