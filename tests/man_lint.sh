#!/bin/sh
# Lints the manual pages given; any message fails. Whether sort(1) or qsort(3)
# is found depends on the pages and index of the machine, so those look-ups
# are left out and the references to our own pages are checked here instead.
set -eu
command -v mandoc >/dev/null || { echo "man_lint: mandoc is not installed" >&2; exit 77; }

out=$(mandoc -Tlint "$@" 2>&1 |
  grep -v -e 'referenced manual not found' -e 'outdated mandoc.db lacks') || true
[ -z "$out" ] || { printf '%s\n' "$out" >&2; exit 1; }

for ref in $(sed -n 's/^\.Xr \(quenorbial[^ ]*\) \([0-9]\).*/\1.\2/p' "$@"); do
  found=no
  for page; do [ "${page##*/}" = "$ref" ] && found=yes; done
  [ "$found" = yes ] || { echo "man_lint: no page $ref" >&2; exit 1; }
done
