#!/usr/bin/env bats
# The program run with stand-ins for the library whose order is not
# consistent: the sort must stay in bounds and lose no line, whatever order
# it ends in. Under the sanitizer build ASan watches every access.

bats_require_minimum_version 1.5.0

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
  out="$BATS_TEST_TMPDIR/out"
  run --separate-stderr env LD_LIBRARY_PATH="$1" sh -c '"$0" "$1" > "$2"' \
    "$QUENORBIAL_SORT" "$BATS_FILE_TMPDIR/in" "$out"
  echo "$stderr"
  [ "$status" -eq 0 ]
  [ -z "$stderr" ]
  LC_ALL=C sort "$out" | cmp - "$BATS_FILE_TMPDIR/in.bytes"
  if cmp -s "$out" "$BATS_FILE_TMPDIR/real"; then
    echo "the real library was loaded, not the one in $1"
    return 1
  fi
}

@test "a library whose order is not transitive: every line kept" {
  sort_with "$CYCLE_DIR"
}

@test "a library that puts every string before every other: every line kept" {
  sort_with "$ALWAYS_BEFORE_DIR"
}
