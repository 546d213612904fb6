#!/bin/sh
# Fails when a program or shared library under the directories given has a
# run path entry that is empty or relative: the loader takes either from the
# current directory, so whoever chooses that directory chooses the libraries.
# Entries are absolute or start at the file's own place ($ORIGIN). CMake's
# own files (CMakeFiles/) are left out.
set -eu
command -v readelf >/dev/null || { echo "run_paths: readelf is not installed" >&2; exit 77; }

list=$(mktemp)
trap 'rm -f "$list"' EXIT
find "$@" -name CMakeFiles -prune -o -type f \( -perm -u+x -o -name '*.so*' \) -print >"$list"
checked=0 bad=0
while IFS= read -r file; do
  readelf -h "$file" >/dev/null 2>&1 || continue
  checked=$((checked + 1))
  readelf -d "$file" | grep -E '\((RPATH|RUNPATH)\)' | sed 's/.*\[\(.*\)\]$/\1/' |
    awk -v file="$file" -F: '{
      if (NF == 0) $1 = ""
      for (i = 1; i <= NF; i++) {
        if ($i !~ /^(\/|\$ORIGIN(\/|$)|\$\{ORIGIN\}(\/|$))/) {
          printf "run_paths: %s: run path [%s] has the entry \"%s\", which is %s\n",
            file, $0, $i, $i == "" ? "empty" : "relative"
          bad = 1
        }
      }
    } END { exit bad }' >&2 || bad=$((bad + 1))
done <"$list"
[ "$checked" -gt 0 ] || { echo "run_paths: no program or library under $*" >&2; exit 1; }
[ "$bad" -eq 0 ] || exit 1
echo "run_paths: $checked files under $*, no empty or relative run path entry"
