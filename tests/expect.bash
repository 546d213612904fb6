# Shared by the bats files: a run that keeps what the command wrote byte for
# byte, and checks that, when they fail, show that run (the command, its
# status, its standard output and its standard error) beside what was
# expected.

# run_kept CMD...: runs CMD with its standard output in $stdout_file, its
# standard error in $stderr_file and its exit status in $status. Standard
# input is the caller's.
run_kept() {
  ran=$(printf '%q ' "$@")
  stdout_file=$BATS_TEST_TMPDIR/stdout
  stderr_file=$BATS_TEST_TMPDIR/stderr
  status=0
  "$@" >"$stdout_file" 2>"$stderr_file" || status=$?
}

# Shows the bytes of a file, line feeds as $ and control bytes as ^X, the
# first 4 KiB at most, so that a failure's output stays readable.
show_bytes() {
  local bytes last
  bytes=$(wc -c <"$1" | tr -d ' ')
  head -c 4096 "$1" | cat -e
  last=$(head -c 4096 "$1" | tail -c 1 | od -An -tx1 | tr -d ' ')
  [ "$bytes" -eq 0 ] || [ "$last" = 0a ] || printf '\n%s\n' '(no line feed at the end)'
  [ "$bytes" -le 4096 ] || printf '... (%s bytes)\n' "$bytes"
}

show_run() {
  printf 'ran: %s\nstatus: %s\nstdout:\n' "$ran" "$status"
  show_bytes "$stdout_file"
  printf 'stderr:\n'
  show_bytes "$stderr_file"
}

# check TEST...: runs TEST, a check of the last run such as
# [ "$status" -ne 124 ]; when it fails, shows it and the run.
check() {
  "$@" && return 0
  printf 'failed: %s\n' "$*"
  show_run
  return 1
}

# expect STATUS STDOUT STDERR: the last run exited with STATUS and wrote
# exactly STDOUT and STDERR, in which backslash escapes (\n, \r, \0) stand
# for their bytes, as printf %b reads them.
expect() {
  printf '%b' "$2" >"$BATS_TEST_TMPDIR/expected-stdout"
  expect_file "$1" "$BATS_TEST_TMPDIR/expected-stdout" "$3"
}

# expect_file STATUS FILE STDERR: as expect, with the bytes of FILE as the
# standard output.
expect_file() {
  local want_err=$BATS_TEST_TMPDIR/expected-stderr
  printf '%b' "$3" >"$want_err"
  [ "$status" -eq "$1" ] && cmp -s "$2" "$stdout_file" && cmp -s "$want_err" "$stderr_file" &&
    return 0
  printf 'expected status: %s\nstdout:\n' "$1"
  show_bytes "$2"
  printf 'stderr:\n'
  show_bytes "$want_err"
  printf 'instead, '
  show_run
  return 1
}
