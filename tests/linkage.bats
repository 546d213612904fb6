#!/usr/bin/env bats
# What the built program needs at run time: the library and the C library,
# none of the C++ runtime, so that it starts as quickly as a C filter does.

load expect

@test "the program loads nothing but the library and the C library" {
  [ "${SANITIZED:-0}" = 1 ] && skip "a sanitizer build links the sanitizer's runtime"
  # ldd follows the library's own needs too, which the program's entries do
  # not show.
  run_kept ldd "$QUENORBIAL_SORT"
  check [ "$status" -eq 0 ]
  loaded=$(awk '{print $1}' "$stdout_file" | sed 's:.*/::' | LC_ALL=C sort | tr '\n' ' ')
  [[ $loaded =~ ^ld-linux[^\ ]*\ libc\.so\.[0-9]+\ libquenorbial\.so\.[0-9]+\ linux-vdso[^\ ]*\ $ ]] &&
    return 0
  printf 'loaded: %s\nexpected: the loader, libc.so.N, libquenorbial.so.N, the vDSO\n' "$loaded"
  show_run
  return 1
}
