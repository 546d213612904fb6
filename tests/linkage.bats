#!/usr/bin/env bats
# What the built program needs at run time: the library and the C library,
# none of the C++ runtime, so that it starts as quickly as a C filter does.

load expect

@test "the program needs nothing but the library and the C library" {
  [ "${SANITIZED:-0}" = 1 ] && skip "a sanitizer build links the sanitizer's runtime"
  run_kept "$READELF" -d "$QUENORBIAL_SORT"
  check [ "$status" -eq 0 ]
  needed=$(sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p' "$stdout_file" | LC_ALL=C sort | tr '\n' ' ')
  [[ $needed =~ ^libc\.so(\.[0-9]+)?\ libquenorbial\.so\.[0-9]+\ $ ]] && return 0
  printf 'needed: %s\nexpected: libc.so.N libquenorbial.so.N\n' "$needed"
  show_run
  return 1
}
