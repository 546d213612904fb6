#!/usr/bin/env bats
# Black-box tests of quenorbial-sort; QUENORBIAL_SORT names the executable.

load expect

setup() {
  : "${QUENORBIAL_SORT:?QUENORBIAL_SORT must name the program}"
  QS=$QUENORBIAL_SORT
  T=$BATS_TEST_TMPDIR
  EXAMPLES=$BATS_TEST_DIRNAME/../examples/versions.txt
  printf '1.10\n1.2\n1.0rc1\n' >"$T/a"
  printf '1.9\n1.0\n' >"$T/b"
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
  run_kept "$QS" < <(printf '1.10\n1.9\n1.2\n')
  expect 0 '1.2\n1.9\n1.10\n' ''
  run_kept "$QS" < <(printf '1.10\n1.0rc1\n1.9\n1.0\n')
  expect 0 '1.0rc1\n1.0\n1.9\n1.10\n' ''
}

@test "empty standard input gives nothing" {
  run_kept "$QS" </dev/null
  expect 0 '' ''
}

@test "-h writes the usage with the name as invoked" {
  dir=$(dirname "$QS")
  run_kept "$QS" -h
  expect 0 '' "$(usage "$QS")\n"
  run_kept env PATH="$dir:$PATH" quenorbial-sort -h
  expect 0 '' "$(usage quenorbial-sort)\n"
  run_kept bash -c 'exec -a vsort "$0" -h' "$QS"
  expect 0 '' "$(usage vsort)\n"
}

@test "-? and unknown letters: diagnostic, usage; status 0 and 1" {
  for opt in '-?' -x -vx -xV; do
    run_kept "$QS" "$opt" </dev/null
    letter=${opt: -1}
    [ "$opt" = -xV ] && letter=x
    want=1
    [ "$opt" = '-?' ] && want=0
    # The parser words its own diagnostic; it must name the letter.
    diagnostic=$(head -n 1 "$stderr_file")
    case $diagnostic in
      *"$letter"*) ;;
      *) diagnostic="(a line that names $letter)" ;;
    esac
    expect "$want" '' "$diagnostic\n$(usage "$QS")\n"
  done
}

@test "-V writes the banner only" {
  for opt in -V -Vx -Vh -pV; do
    run_kept "$QS" "$opt" </dev/null
    expect 0 '' 'quenorbial 3.0.4\n'
  done
}

@test "answers to options do not read standard input" {
  mkfifo "$T/fifo"
  exec 7<>"$T/fifo"  # open, never written: a read would block
  for opt in -V -h -x; do
    run_kept timeout 10 "$QS" "$opt" <&7
    check [ "$status" -ne 124 ]
  done
  run_kept timeout 10 "$QS" "$T/a" <&7
  exec 7>&-
  expect 0 '1.0rc1\n1.2\n1.10\n' ''
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
    run_kept "$QS" $opts "$T/f"
    expect 0 "${case#*|}" ''
  done
  run_kept "$QS" -v -a -p "$T/f"
  expect 0 '1.0 (<)\n1.0alpha (<)\n1.0foo (<)\n1.0p1 (<)\n1.0p1 (==)\n' ''
}

@test "-v on the shipped example" {
  run_kept "$QS" -v "$EXAMPLES"
  expect 0 '1.0.dev1 (<)\n1.0alpha1 (<)\n1.0beta2 (<)\n1.0rc1 (<)\n1.0rc1 (==)\n'\
'1.0-SNAPSHOT (<)\n1.0 (<)\n1.0.Final (<)\n1.0-10 (<)\n1.0-2-1 (<)\nv1.0.0 (<)\n'\
'1.0a (<)\n1.0patch1 (<)\n1.0.post1 (<)\n1.0.1 (<)\n1.2 (<)\n1.9 (<)\n'\
'1.9.0.linux-amd64.tar.gz (<)\n1.10 (<)\n1.99999999999999999999999 (<)\n'\
'2.0.0-rc.1 (<)\n2.0.0rc2-alpine (<)\n2.0.0 (<)\n10.0 (<)\n' ''
  # Without -v, the same lines without their markers.
  sed 's/ ([<=]*)$//' "$stdout_file" >"$T/plain"
  run_kept "$QS" "$EXAMPLES"
  expect_file 0 "$T/plain" ''
}

@test "-v marks repeated lines, empty and CR lines included" {
  run_kept "$QS" -v < <(printf '2\n1\n2\n\n2\n1.0\r\n1.0\r\n')
  expect 0 ' (==)\n1 (<)\n1.0\r (<)\n1.0\r (==)\n2 (<)\n2 (==)\n2 (==)\n' ''
}

@test "options end at the first operand and at --" {
  run_kept "$QS" "$T/a" -v
  expect 1 '1.0rc1\n1.2\n1.10\n' "$QS: -v: No such file or directory\n"

  run_kept "$QS" -- -v
  expect 1 '' "$QS: -v: No such file or directory\n"

  cp "$T/a" "$T/-v"
  cd "$T"
  run_kept "$QS" -- -v
  expect 0 '1.0rc1\n1.2\n1.10\n' ''
}

@test "- is a file name, and operands leave standard input alone" {
  cp "$T/b" "$T/-"
  cd "$T"
  run_kept "$QS" - < <(printf '7\n')
  expect 0 '1.0\n1.9\n' ''
  run_kept "$QS" a b < <(printf '7\n')
  expect 0 '1.0rc1\n1.0\n1.2\n1.9\n1.10\n' ''
}

@test "an unreadable operand is reported, the others listed, status 1" {
  run_kept "$QS" "$T/a" "$T/missing" "$T" "$T/b"
  expect 1 '1.0rc1\n1.0\n1.2\n1.9\n1.10\n' \
    "$QS: $T/missing: No such file or directory\n$QS: $T: Is a directory\n"
  run_kept bash -c 'exec -a vsort "$0" "$1"' "$QS" "$T/missing"
  expect 1 '' "vsort: $T/missing: No such file or directory\n"
}

@test "standard input a directory: reported, status 1" {
  run_kept "$QS" <"$T"
  expect 1 '' "$QS: stdin: Is a directory\n"
}

@test "a full standard output is reported, status 1" {
  for n in 3 200000; do
    run_kept sh -c 'seq "$1" | "$0" >/dev/full' "$QS" "$n"
    expect 1 '' "$QS: stdout: No space left on device\n"
  done
  run_kept sh -c '"$0" -v "$1" >/dev/full' "$QS" "$T/a"
  expect 1 '' "$QS: stdout: No space left on device\n"
}

@test "the README's recipe keeps one copy of every line, the first one too" {
  recipe=$("$BATS_TEST_DIRNAME/../.ci/readme-command" unique)
  cd "$T"
  # The first sorted line starts with a word, so it orders before the empty
  # line it is measured against and is marked (==).
  printf '%s\n' foo-1.2.tar.gz foo-1.10.tar.gz foo-1.2.tar.gz >list.txt
  PATH="$(dirname "$QS"):$PATH" run_kept sh -c "$recipe"
  expect 0 'foo-1.2.tar.gz\nfoo-1.10.tar.gz\n' ''
  # Repeats of words, of the empty line, of a version and of a line that
  # ends like a marker itself: each comes out once, in order, whole.
  printf '%s\n' 1.0 alpha 'beta (==)' '' alpha 1.0 '' beta 'beta (==)' >list.txt
  PATH="$(dirname "$QS"):$PATH" run_kept sh -c "$recipe"
  expect 0 'alpha\nbeta\nbeta (==)\n\n1.0\n' ''
}
