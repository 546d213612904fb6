#!/bin/sh
# A literal null pointer given to quenorbial_compare4, as either string,
# warns at -Wall, in C and C++, with each of GCC and Clang that is installed.
# The same call with two strings compiles cleanly, so that a failure is the
# warning's.
# Usage: null_argument.sh INCLUDE_DIR
set -eu
include=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/call.c" <<'END'
#include <stddef.h>

#include <quenorbial.h>

int call(void) { return quenorbial_compare4(FIRST, SECOND, 0, 0); }
END

tried=0 failed=0
for compiler in gcc clang; do
  command -v "$compiler" >/dev/null || continue
  for language in c c++; do
    tried=$((tried + 1))
    what="$compiler -x $language -Wall -Werror"
    # compile FIRST SECOND: compiles the call with those arguments.
    compile() {
      "$compiler" -x "$language" -fsyntax-only -Wall -Werror -I"$include" \
        -DFIRST="$1" -DSECOND="$2" "$tmp/call.c" >"$tmp/log" 2>&1
    }
    if ! compile '"1.0"' '"2.0"'; then
      echo "null_argument: $what failed on a call with two strings:" >&2
      cat "$tmp/log" >&2
      failed=$((failed + 1))
      continue
    fi
    for call in 'NULL "2.0"' '"1.0" NULL'; do
      # shellcheck disable=SC2086 # the call's two arguments
      set -- $call
      call="quenorbial_compare4($1, $2, 0, 0)"
      if compile "$1" "$2"; then
        echo "null_argument: $what compiled $call without a warning" >&2
        failed=$((failed + 1))
      elif ! grep -q nonnull "$tmp/log"; then
        echo "null_argument: $what failed on $call, but not for the null:" >&2
        cat "$tmp/log" >&2
        failed=$((failed + 1))
      fi
    done
  done
done
[ "$tried" -gt 0 ] || { echo "null_argument: neither gcc nor clang is installed" >&2; exit 77; }
[ "$failed" -eq 0 ] || exit 1
echo "null_argument: a null string warns in each of $tried compiler and language pairs"
