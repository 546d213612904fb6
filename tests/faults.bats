#!/usr/bin/env bats
# Faults around the program: output that cannot be written, input that
# cannot be read, memory that runs out, and input at sizes and bytes that a
# line-based tool might mangle. Every case checks the exact listing, message
# and status.

load expect

setup_file() {
  # Output well beyond what a pipe holds, so a reader that stops early is
  # noticed by the writer.
  seq 1 300000 > "$BATS_FILE_TMPDIR/big"
  printf '1.10\n1.9\n1.2' > "$BATS_FILE_TMPDIR/three"
}

@test "closed standard output: reported as a bad descriptor, status 1" {
  # The operand is opened on descriptor 1 then; it must not become the output.
  for opt in '' -v; do
    run_kept sh -c '"$0" $1 "$2" >&-' "$QUENORBIAL_SORT" "$opt" "$BATS_FILE_TMPDIR/three"
    expect 1 '' "$QUENORBIAL_SORT: stdout: Bad file descriptor\n"
  done
}

@test "a reader that stops early: SIGPIPE ends the run with no message" {
  env --default-signal=PIPE true 2>/dev/null || skip "env cannot reset SIGPIPE"
  run_kept bash -c \
    'env --default-signal=PIPE timeout 60 "$0" "$1" | head -n 1; exit "${PIPESTATUS[0]}"' \
    "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/big"
  expect 141 '1\n' ''  # 128 + SIGPIPE, not 124 from timeout
}

@test "a reader that stops early with SIGPIPE ignored: broken pipe, status 1" {
  run_kept bash -c \
    'trap "" PIPE; timeout 60 "$0" "$1" | head -n 1; exit "${PIPESTATUS[0]}"' \
    "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/big"
  expect 1 '1\n' "$QUENORBIAL_SORT: stdout: Broken pipe\n"
}

@test "an unreadable operand: permission denied, the others listed, status 1" {
  [ "$(id -u)" -eq 0 ] && skip "root reads every file"
  secret="$BATS_TEST_TMPDIR/secret"
  echo 0.1 > "$secret"
  chmod 000 "$secret"
  printf '2.0\n' > "$BATS_TEST_TMPDIR/after"
  run_kept "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/three" "$secret" "$BATS_TEST_TMPDIR/after"
  expect 1 '1.2\n1.9\n1.10\n2.0\n' "$QUENORBIAL_SORT: $secret: Permission denied\n"
}

@test "a read failing after the data: lines kept, each input reported, status 1" {
  other="$BATS_TEST_TMPDIR/other"
  printf '0.9\n2.0' > "$other"
  # A sanitizer runtime of its own must not object to the preload coming first.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
  run_kept env LD_PRELOAD="$FAILING_READ" "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/three" "$other"
  expect 1 '0.9\n1.2\n1.9\n1.10\n2.0\n' \
    "$QUENORBIAL_SORT: $BATS_FILE_TMPDIR/three: Input/output error\n$QUENORBIAL_SORT: $other: Input/output error\n"

  run_kept env LD_PRELOAD="$FAILING_READ" "$QUENORBIAL_SORT" < "$other"
  expect 1 '0.9\n2.0\n' "$QUENORBIAL_SORT: stdin: Input/output error\n"
}

@test "memory running out under a limit: one line, nothing listed, status 1" {
  [ "${SANITIZED:-0}" = 1 ] && skip "a sanitizer runtime maps more address space than the limit"
  (ulimit -v 40000) 2>/dev/null || skip "ulimit -v cannot limit the address space here"
  # Three million lines of up to 20 bytes need 48 MB for their elements
  # alone, more than the limit leaves.
  run_kept bash -c 'ulimit -v 40000
    seq 1 3000000 2>/dev/null | sed "s/\$/.0-rc1+build/" 2>/dev/null | timeout 120 "$0"' \
    "$QUENORBIAL_SORT"
  expect 1 '' "$QUENORBIAL_SORT: stdin: Cannot allocate memory\n"
}

@test "a file larger than the room its size asks for: read as a pipe would be, all listed" {
  [ "${SANITIZED:-0}" = 1 ] && skip "a sanitizer runtime maps more address space than the limit"
  (ulimit -v 150000) 2>/dev/null || skip "ulimit -v cannot limit the address space here"
  # A million lines of 19 bytes: room for as many lines as the file has
  # bytes would take 300 MB, beyond the limit, but the lines need a fifth.
  seq 1 1000000 | sed 's/$/.0-rc1+build/' > "$BATS_TEST_TMPDIR/in"
  "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in" > "$BATS_TEST_TMPDIR/want"
  run_kept bash -c 'ulimit -v 150000; timeout 120 "$0" "$1"' \
    "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in"
  expect_file 0 "$BATS_TEST_TMPDIR/want" ''
}

@test "a file whose room was had: what its lines leave goes back, for the sort" {
  [ "${SANITIZED:-0}" = 1 ] && skip "a sanitizer runtime maps more address space than the limit"
  (ulimit -v 160000) 2>/dev/null || skip "ulimit -v cannot limit the address space here"
  # Four million lines of two bytes: room for as many lines as bytes (128
  # MB) fits under the limit, but not beside the sort's buffer (32 MB)
  # unless all that the lines do not fill is given back first.
  yes $'2\n1' | head -n 4000000 > "$BATS_TEST_TMPDIR/in"
  { yes 1 | head -n 2000000; yes 2 | head -n 2000000; } > "$BATS_TEST_TMPDIR/want"
  run_kept bash -c 'ulimit -v 160000; timeout 120 "$0" "$1"' \
    "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in"
  expect_file 0 "$BATS_TEST_TMPDIR/want" ''
}

@test "memory running out at each allocation: one line naming where, nothing listed" {
  [ "${SANITIZED:-0}" = 1 ] && skip "the preloaded allocation would bypass the sanitizer's"
  # Short and long lines out of order from three inputs, so that the run
  # allocates for reading, storing, sorting and listing; the third is
  # larger than the block reading starts with, and than the lines' first
  # array, so that both grow.
  a=$BATS_TEST_TMPDIR/a
  b=$BATS_FILE_TMPDIR/three
  c=$BATS_TEST_TMPDIR/c
  for i in $(seq 1 40); do
    printf '1.%d\nrelease-candidate-%d.0\n' $((i * 37 % 41)) $((40 - i))
  done >"$a"
  seq 1 20000 | sed 's/^/2./' >"$c"
  want=$BATS_TEST_TMPDIR/want
  seen=$BATS_TEST_TMPDIR/seen
  for opt in '' -v; do
    "$QUENORBIAL_SORT" $opt "$a" "$b" "$c" >"$want"
    run_kept env LD_PRELOAD="$FAILING_ALLOC" FAIL_ALLOC_TALLY="$BATS_TEST_TMPDIR/tally" \
      "$QUENORBIAL_SORT" $opt "$a" "$b" "$c"
    expect_file 0 "$want" ''
    calls=$(cat "$BATS_TEST_TMPDIR/tally")
    : >"$seen"
    for ((k = 1; k <= calls; ++k)); do
      run_kept env LD_PRELOAD="$FAILING_ALLOC" FAIL_ALLOC_AT=$k "$QUENORBIAL_SORT" $opt "$a" "$b" "$c"
      if [ "$status" -eq 0 ]; then  # stdio does without a buffer of its own
        expect_file 0 "$want" ''
        continue
      fi
      subject=$(cat "$stderr_file")
      subject=${subject#"$QUENORBIAL_SORT: "}
      subject=${subject%": Cannot allocate memory"}
      case $subject in
        "$a" | "$b" | "$c" | sort | stdout) ;;
        *) subject='(an input, sort or stdout)' ;;
      esac
      expect 1 '' "$QUENORBIAL_SORT: $subject: Cannot allocate memory\n"
      printf '%s\n' "$subject" >>"$seen"
    done
    # Each step of the run met a failure of its own.
    for subject in "$a" "$b" "$c" sort stdout; do
      grep -qxF -- "$subject" "$seen" && continue
      printf 'ran: %s %s %s with each of %s allocations failing\n' \
        "$QUENORBIAL_SORT" "$opt" "$a $b $c" "$calls"
      printf 'expected a failure naming %s; the failures named:\n' "$subject"
      cat "$seen"
      return 1
    done
  done
}

@test "lines of a million digits: ordered by value, every byte kept" {
  digits=$(head -c 999999 /dev/zero | tr '\0' 7)
  nines=$(head -c 999999 /dev/zero | tr '\0' 9)
  # Two differ only in the last digit; one digit fewer is smaller still.
  printf '1.%s9\n1.%s8\n1.%s\n' "$digits" "$digits" "$nines" > "$BATS_TEST_TMPDIR/in"
  run_kept "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in"
  expect 0 "1.$nines\n1.${digits}8\n1.${digits}9\n" ''
}

@test "NUL and CR bytes: kept in place, NUL ends the version, bytes break ties" {
  # The library sees "1.0", "1.0", "1.0", "0.9" and "": the three 1.0 lines
  # are put in byte order, NUL (0) before CR (13).
  printf '1.0\r\n1.0\0zzz\n0.9\0\r\n1.0\n\0\n' > "$BATS_TEST_TMPDIR/in"
  run_kept "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in"
  expect 0 '\0\n0.9\0\r\n1.0\n1.0\0zzz\n1.0\r\n' ''
  # The marker follows the CR; by its bytes the NUL line is after the empty
  # line that the first is measured against.
  run_kept "$QUENORBIAL_SORT" -v "$BATS_TEST_TMPDIR/in"
  expect 0 '\0 (<)\n0.9\0\r (<)\n1.0 (<)\n1.0\0zzz (<)\n1.0\r (<)\n' ''
}

@test "ten million empty lines: ten million line feeds back" {
  head -c 10000000 /dev/zero | tr '\0' '\n' > "$BATS_TEST_TMPDIR/in"
  # Through a pipe, so the input's size is not known in advance.
  run_kept sh -c 'cat "$1" | timeout 300 "$0"' "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in"
  expect_file 0 "$BATS_TEST_TMPDIR/in" ''
}
