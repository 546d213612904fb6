#!/usr/bin/env bats
# Black-box tests of quenorbial-sort; QUENORBIAL_SORT names the executable.

setup() {
  : "${QUENORBIAL_SORT:?QUENORBIAL_SORT must name the program}"
  QS=$QUENORBIAL_SORT
  T=$BATS_TEST_TMPDIR
  EXAMPLES=$BATS_TEST_DIRNAME/../examples/versions.txt
  printf '1.10\n1.2\n1.0rc1\n' >"$T/a"
  printf '1.9\n1.0\n' >"$T/b"
}

# Runs the program with stdout and stderr in $T/out and $T/err and the exit
# status in $status. Standard input is left to the caller.
qs() {
  status=0
  "$QS" "$@" >"$T/out" 2>"$T/err" || status=$?
}

# Compares a file with the bytes of a printf format.
same() {
  printf "$2" | cmp - "$1"
}

# Compares a file with the given lines, taken literally.
lines_are() {
  printf '%s\n' "${@:2}" | cmp - "$1"
}

usage() {
  cat <<EOF
Usage: $1 [-pa] [path]

 -p       - 'p' letter is treated as 'patch' instead of 'pre'
 -a       - any alphabetic characters are treated as post-release
 -v       - verbose mode (display whether version is different from the previous one)

 -h, -?   - print usage and exit
 -V       - print version and exit
EOF
}

@test "sorts standard input by version" {
  qs < <(printf '1.10\n1.9\n1.2\n')
  [ "$status" -eq 0 ]
  same "$T/out" '1.2\n1.9\n1.10\n'
  [ ! -s "$T/err" ]
  qs < <(printf '1.10\n1.0rc1\n1.9\n1.0\n')
  same "$T/out" '1.0rc1\n1.0\n1.9\n1.10\n'
}

@test "empty standard input gives nothing" {
  qs </dev/null
  [ "$status" -eq 0 ]
  [ ! -s "$T/out" ]
  [ ! -s "$T/err" ]
}

@test "-h writes the usage with the name as invoked" {
  dir=$(dirname "$QS")
  for how in path bare renamed; do
    status=0
    case $how in
      path) name=$QS; "$QS" -h >"$T/out" 2>"$T/err" || status=$? ;;
      bare) name=quenorbial-sort
            PATH=$dir:$PATH quenorbial-sort -h >"$T/out" 2>"$T/err" || status=$? ;;
      renamed) name=vsort; (exec -a vsort "$QS" -h) >"$T/out" 2>"$T/err" || status=$? ;;
    esac
    [ "$status" -eq 0 ]
    usage "$name" | cmp - "$T/err"
    [ ! -s "$T/out" ]
  done
}

@test "-? and unknown letters: diagnostic, usage; status 0 and 1" {
  for opt in '-?' -x -vx -xV; do
    qs "$opt" </dev/null
    letter=${opt: -1}
    [ "$opt" = -xV ] && letter=x
    case $opt in '-?') [ "$status" -eq 0 ] ;; *) [ "$status" -eq 1 ] ;; esac
    head -n 1 "$T/err" | grep -qF -- "$letter"
    tail -n +2 "$T/err" | cmp - <(usage "$QS")
    [ ! -s "$T/out" ]
  done
}

@test "-V writes the banner only" {
  for opt in -V -Vx -Vh -pV; do
    qs "$opt" </dev/null
    [ "$status" -eq 0 ]
    same "$T/err" 'quenorbial 3.0.4\n'
    [ ! -s "$T/out" ]
  done
}

@test "answers to options do not read standard input" {
  mkfifo "$T/fifo"
  exec 7<>"$T/fifo"  # open, never written: a read would block
  for opt in -V -h -x; do
    status=0
    timeout 10 "$QS" "$opt" <&7 >/dev/null 2>&1 || status=$?
    [ "$status" -ne 124 ]
  done
  status=0
  timeout 10 "$QS" "$T/a" <&7 >"$T/out" 2>&1 || status=$?
  exec 7>&-
  [ "$status" -eq 0 ]
  same "$T/out" '1.0rc1\n1.2\n1.10\n'
}

@test "-p and -a change the order, -v marks it" {
  printf '1.0p1\n1.0\n1.0foo\n1.0alpha\n1.0p1\n' >"$T/f"
  for case in \
      '|1.0alpha\n1.0foo\n1.0p1\n1.0p1\n1.0\n' \
      '-p|1.0alpha\n1.0foo\n1.0\n1.0p1\n1.0p1\n' \
      '-a|1.0\n1.0alpha\n1.0foo\n1.0p1\n1.0p1\n' \
      '-pav|1.0 (<)\n1.0alpha (<)\n1.0foo (<)\n1.0p1 (<)\n1.0p1 (==)\n' \
      '-vvpp|1.0alpha (<)\n1.0foo (<)\n1.0 (<)\n1.0p1 (<)\n1.0p1 (==)\n'; do
    opts=${case%%|*}
    qs $opts "$T/f"
    [ "$status" -eq 0 ]
    same "$T/out" "${case#*|}"
  done
  qs -v -a -p "$T/f"
  same "$T/out" '1.0 (<)\n1.0alpha (<)\n1.0foo (<)\n1.0p1 (<)\n1.0p1 (==)\n'
}

@test "-v on the shipped example" {
  qs -v "$EXAMPLES"
  [ "$status" -eq 0 ]
  lines_are "$T/out" '1.0.dev1 (<)' '1.0alpha1 (<)' '1.0beta2 (<)' '1.0rc1 (<)' '1.0rc1 (==)' \
    '1.0-SNAPSHOT (<)' '1.0 (<)' '1.0.Final (<)' 'v1.0.0 (<)' '1.0a (<)' '1.0.post1 (<)' \
    '1.0patch1 (<)' '1.0.1 (<)' '1.2 (<)' '1.9 (<)' '1.10 (<)' '1.99999999999999999999999 (<)' \
    '2.0.0-rc.1 (<)' '2.0.0 (<)' '10.0 (<)'
  qs "$EXAMPLES"
  "$QS" -v "$EXAMPLES" | sed 's/ ([<=]*)$//' | cmp - "$T/out"
}

@test "-v marks repeated lines, empty and CR lines included" {
  qs -v < <(printf '2\n1\n2\n\n2\n1.0\r\n1.0\r\n')
  [ "$status" -eq 0 ]
  same "$T/out" ' (==)\n1 (<)\n1.0\r (<)\n1.0\r (==)\n2 (<)\n2 (==)\n2 (==)\n'
}

@test "options end at the first operand and at --" {
  qs "$T/a" -v
  [ "$status" -eq 1 ]
  lines_are "$T/err" "$QS: -v: No such file or directory"
  same "$T/out" '1.0rc1\n1.2\n1.10\n'

  qs -- -v
  [ "$status" -eq 1 ]
  lines_are "$T/err" "$QS: -v: No such file or directory"
  [ ! -s "$T/out" ]

  cp "$T/a" "$T/-v"
  cd "$T"
  qs -- -v
  [ "$status" -eq 0 ]
  same "$T/out" '1.0rc1\n1.2\n1.10\n'
}

@test "- is a file name, and operands leave standard input alone" {
  cp "$T/b" "$T/-"
  cd "$T"
  qs - < <(printf '7\n')
  [ "$status" -eq 0 ]
  same "$T/out" '1.0\n1.9\n'
  qs a b < <(printf '7\n')
  [ "$status" -eq 0 ]
  same "$T/out" '1.0rc1\n1.0\n1.2\n1.9\n1.10\n'
  [ ! -s "$T/err" ]
}

@test "an unreadable operand is reported, the others listed, status 1" {
  qs "$T/a" "$T/missing" "$T" "$T/b"
  [ "$status" -eq 1 ]
  lines_are "$T/err" "$QS: $T/missing: No such file or directory" "$QS: $T: Is a directory"
  same "$T/out" '1.0rc1\n1.0\n1.2\n1.9\n1.10\n'
  (exec -a vsort "$QS" "$T/missing") >"$T/out" 2>"$T/err" || true
  lines_are "$T/err" "vsort: $T/missing: No such file or directory"
  [ ! -s "$T/out" ]
}

@test "standard input a directory: reported, status 1" {
  qs <"$T"
  [ "$status" -eq 1 ]
  lines_are "$T/err" "$QS: stdin: Is a directory"
  [ ! -s "$T/out" ]
}

@test "a full standard output is reported, status 1" {
  for n in 3 200000; do
    status=0
    seq "$n" | "$QS" >/dev/full 2>"$T/err" || status=$?
    [ "$status" -eq 1 ]
    lines_are "$T/err" "$QS: stdout: No space left on device"
  done
  status=0
  "$QS" -v "$T/a" >/dev/full 2>"$T/err" || status=$?
  [ "$status" -eq 1 ]
  lines_are "$T/err" "$QS: stdout: No space left on device"
}
