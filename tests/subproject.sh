#!/bin/sh
# Builds the tree inside a parent project that sets no build type (the
# project in tests/subproject), once by add_subdirectory and once by
# FetchContent from the tree's path, and checks that the library and the
# program work there, that the build type stays the parent's (none), and
# that the tree registers no tests and installs nothing.
# The environment names the build (CMAKE, CTEST, SOURCE_DIR, GENERATOR,
# CXX_COMPILER).
set -eu

fail() {
  echo "subproject: $*" >&2
  exit 1
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for via in add_subdirectory FetchContent; do
  build=$tmp/$via
  log=$tmp/$via.log
  "$CMAKE" -S "$SOURCE_DIR/tests/subproject" -B "$build" -G "$GENERATOR" \
    -DCMAKE_CXX_COMPILER="$CXX_COMPILER" -DQUENORBIAL_VIA="$via" \
    -DQUENORBIAL_SOURCE_DIR="$SOURCE_DIR" >"$log" 2>&1 ||
    { cat "$log" >&2; fail "$via: configuring the parent project failed"; }
  type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
  [ -z "$type" ] || fail "$via: the build type became '$type' in a parent that set none"
  "$CMAKE" --build "$build" -j 2 >"$log" 2>&1 ||
    { cat "$log" >&2; fail "$via: building the parent project failed"; }

  out=$("$build/consumer" 1.10 1.0 1.0rc1 1.9)
  [ "$out" = "$(printf '1.0rc1\n1.0\n1.9\n1.10')" ] || fail "$via: the parent's program printed: $out"
  prog=$(find "$build" -name quenorbial-sort -type f)
  [ -n "$prog" ] || fail "$via: the program was not built"
  out=$(printf '1.10\n1.0rc1\n1.9\n' | "$prog")
  [ "$out" = "$(printf '1.0rc1\n1.9\n1.10')" ] || fail "$via: $prog printed: $out"
  sh "$SOURCE_DIR/tests/run_paths.sh" "$build" >/dev/null ||
    fail "$via: a file built looks for libraries in the current directory"

  tests=$(cd "$build" && "$CTEST" -N | sed -n 's/^Total Tests: //p')
  [ "${tests:-0}" = 0 ] || fail "$via: the parent project has $tests tests of ours"
  "$CMAKE" --install "$build" --prefix "$tmp/$via-prefix" >"$log" 2>&1 ||
    { cat "$log" >&2; fail "$via: installing the parent project failed"; }
  [ -z "$(find "$tmp/$via-prefix" ! -type d 2>/dev/null)" ] ||
    fail "$via: installing the parent project installed files of ours"
done
echo "subproject: built and used by add_subdirectory and by FetchContent"
