#!/usr/bin/env bats
# The program run with stand-ins for the library whose order is not
# consistent: the sort must stay in bounds and lose no line, whatever order
# it ends in. Under the sanitizer build ASan watches every access.

load expect

setup_file() {
  awk 'BEGIN { for (i = 0; i < 100000; i++)
                 printf "%d.%d.%d%s\n", i % 7, i * 31 % 101, i * 17 % 1009,
                        i % 5 ? "" : "rc1" }' > "$BATS_FILE_TMPDIR/in"
  LC_ALL=C sort "$BATS_FILE_TMPDIR/in" > "$BATS_FILE_TMPDIR/in.bytes"
  "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/in" > "$BATS_FILE_TMPDIR/real"
}

# Sorts the input with the library in directory $1; checks that the output
# is a permutation of the input and not the real library's order.
sort_with() {
  run_kept env LD_LIBRARY_PATH="$1" "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/in"
  LC_ALL=C sort "$stdout_file" >"$BATS_TEST_TMPDIR/out.bytes"
  check [ "$status" -eq 0 ]
  check [ ! -s "$stderr_file" ]
  check cmp "$BATS_TEST_TMPDIR/out.bytes" "$BATS_FILE_TMPDIR/in.bytes"
  check different_from "$BATS_FILE_TMPDIR/real"
}

# Whether the last run's output differs from the file; when not, the real
# library was loaded instead of the stand-in.
different_from() {
  ! cmp -s "$stdout_file" "$1"
}

@test "a library whose order is not transitive: every line kept" {
  sort_with "$CYCLE_DIR"
}

@test "a library that puts every string before every other: every line kept" {
  sort_with "$ALWAYS_BEFORE_DIR"
}
