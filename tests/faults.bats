#!/usr/bin/env bats
# Faults around the program: output that cannot be written, input that
# cannot be read, and input at sizes and bytes that a line-based tool might
# mangle. Every case checks the exact listing, message and status.

bats_require_minimum_version 1.5.0

setup_file() {
  # Output well beyond what a pipe holds, so a reader that stops early is
  # noticed by the writer.
  seq 1 300000 > "$BATS_FILE_TMPDIR/big"
  printf '1.10\n1.9\n1.2' > "$BATS_FILE_TMPDIR/three"
}

# Passes when the last run gave status $1, standard output $2 and standard
# error $3; otherwise shows what it gave.
expect() {
  [ "$status" -eq "$1" ] && [ "$output" = "$2" ] && [ "$stderr" = "$3" ] && return
  printf 'status %s\nstdout: %s\nstderr: %s\n' "$status" "$output" "$stderr"
  return 1
}

@test "closed standard output: reported as a bad descriptor, status 1" {
  # The operand is opened on descriptor 1 then; it must not become the output.
  for opt in '' -v; do
    run --separate-stderr sh -c '"$0" $1 "$2" >&-' "$QUENORBIAL_SORT" "$opt" "$BATS_FILE_TMPDIR/three"
    expect 1 "" "$QUENORBIAL_SORT: stdout: Bad file descriptor"
  done
}

@test "a reader that stops early: SIGPIPE ends the run with no message" {
  env --default-signal=PIPE true 2>/dev/null || skip "env cannot reset SIGPIPE"
  run --separate-stderr bash -c \
    'env --default-signal=PIPE timeout 60 "$0" "$1" | head -n 1; exit "${PIPESTATUS[0]}"' \
    "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/big"
  expect 141 1 ""  # 128 + SIGPIPE, not 124 from timeout
}

@test "a reader that stops early with SIGPIPE ignored: broken pipe, status 1" {
  run --separate-stderr bash -c \
    'trap "" PIPE; timeout 60 "$0" "$1" | head -n 1; exit "${PIPESTATUS[0]}"' \
    "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/big"
  expect 1 1 "$QUENORBIAL_SORT: stdout: Broken pipe"
}

@test "an unreadable operand: permission denied, the others listed, status 1" {
  [ "$(id -u)" -eq 0 ] && skip "root reads every file"
  secret="$BATS_TEST_TMPDIR/secret"
  echo 0.1 > "$secret"
  chmod 000 "$secret"
  printf '2.0\n' > "$BATS_TEST_TMPDIR/after"
  run --separate-stderr "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/three" "$secret" "$BATS_TEST_TMPDIR/after"
  expect 1 "$(printf '1.2\n1.9\n1.10\n2.0')" "$QUENORBIAL_SORT: $secret: Permission denied"
}

@test "a read failing after the data: lines kept, each input reported, status 1" {
  other="$BATS_TEST_TMPDIR/other"
  printf '0.9\n2.0' > "$other"
  # A sanitizer runtime of its own must not object to the preload coming first.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
  run --separate-stderr env LD_PRELOAD="$FAILING_READ" "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/three" "$other"
  expect 1 "$(printf '0.9\n1.2\n1.9\n1.10\n2.0')" \
    "$(printf '%s: %s: Input/output error\n' "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/three" "$QUENORBIAL_SORT" "$other")"

  run --separate-stderr env LD_PRELOAD="$FAILING_READ" "$QUENORBIAL_SORT" < "$other"
  expect 1 "$(printf '0.9\n2.0')" "$QUENORBIAL_SORT: stdin: Input/output error"
}

@test "lines of a million digits: ordered by value, every byte kept" {
  digits=$(head -c 999999 /dev/zero | tr '\0' 7)
  nines=$(head -c 999999 /dev/zero | tr '\0' 9)
  # Two differ only in the last digit; one digit fewer is smaller still.
  printf '1.%s9\n1.%s8\n1.%s\n' "$digits" "$digits" "$nines" > "$BATS_TEST_TMPDIR/in"
  printf '1.%s\n1.%s8\n1.%s9\n' "$nines" "$digits" "$digits" > "$BATS_TEST_TMPDIR/want"
  run --separate-stderr sh -c '"$0" "$1" > "$2"' "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in" "$BATS_TEST_TMPDIR/out"
  expect 0 "" ""
  cmp "$BATS_TEST_TMPDIR/want" "$BATS_TEST_TMPDIR/out"
}

@test "NUL and CR bytes: kept in place, NUL ends the version, bytes break ties" {
  # The library sees "1.0", "1.0", "1.0", "0.9" and "": the three 1.0 lines
  # are put in byte order, NUL (0) before CR (13).
  printf '1.0\r\n1.0\0zzz\n0.9\0\r\n1.0\n\0\n' > "$BATS_TEST_TMPDIR/in"
  printf '\0\n0.9\0\r\n1.0\n1.0\0zzz\n1.0\r\n' > "$BATS_TEST_TMPDIR/want"
  "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in" > "$BATS_TEST_TMPDIR/out"
  cmp "$BATS_TEST_TMPDIR/want" "$BATS_TEST_TMPDIR/out" || {
    od -c "$BATS_TEST_TMPDIR/out"
    false
  }
  # The marker follows the CR; by its bytes the NUL line is after the empty
  # line that the first is measured against.
  printf '\0 (<)\n0.9\0\r (<)\n1.0 (<)\n1.0\0zzz (<)\n1.0\r (<)\n' > "$BATS_TEST_TMPDIR/want"
  "$QUENORBIAL_SORT" -v "$BATS_TEST_TMPDIR/in" > "$BATS_TEST_TMPDIR/out"
  cmp "$BATS_TEST_TMPDIR/want" "$BATS_TEST_TMPDIR/out" || {
    od -c "$BATS_TEST_TMPDIR/out"
    false
  }
}

@test "ten million empty lines: ten million line feeds back" {
  head -c 10000000 /dev/zero | tr '\0' '\n' > "$BATS_TEST_TMPDIR/in"
  # Through a pipe, so the input's size is not known in advance.
  run --separate-stderr sh -c 'cat "$1" | timeout 300 "$0" > "$2"' \
    "$QUENORBIAL_SORT" "$BATS_TEST_TMPDIR/in" "$BATS_TEST_TMPDIR/out"
  expect 0 "" ""
  cmp "$BATS_TEST_TMPDIR/in" "$BATS_TEST_TMPDIR/out"
}
