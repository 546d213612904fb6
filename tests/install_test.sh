#!/bin/sh
# Installs under DESTDIR, moves the installed tree elsewhere and checks that
# the program, a C consumer built through pkg-config and a C++ consumer built
# through find_package all work from where the tree now lies, and that no
# installed file looks for libraries in the current directory.
# The environment names the build (CMAKE, BUILD_DIR, SOURCE_DIR, GENERATOR,
# CXX_COMPILER, VERSION) and the layout (BINDIR, LIBDIR, INCLUDEDIR, MANDIR).
set -eu

# Consumers built without the sanitizer runtime cannot link a sanitized
# library; the plain builds check the install.
if [ "${SANITIZED:-0}" = 1 ]; then
  echo "install_test: skipped in a sanitizer build"
  exit 77
fi

fail() {
  echo "install_test: $*" >&2
  exit 1
}

# Succeeds when the ELF file $1 has a dynamic entry of type $2 reading [$3].
has_dynamic() {
  readelf -d "$1" | grep -F "($2)" | grep -qF "[$3]"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset LD_LIBRARY_PATH
major=${VERSION%%.*}

DESTDIR=$tmp/stage "$CMAKE" --install "$BUILD_DIR" --prefix /opt/quenorbial >/dev/null
mv "$tmp/stage/opt/quenorbial" "$tmp/moved"
prefix=$tmp/moved

# The tree holds exactly these; the build type names one file.
LC_ALL=C sort >"$tmp/expected" <<END
$BINDIR/quenorbial-sort
$INCLUDEDIR/quenorbial.h
$LIBDIR/cmake/quenorbial/quenorbialConfig.cmake
$LIBDIR/cmake/quenorbial/quenorbialConfigVersion.cmake
$LIBDIR/cmake/quenorbial/quenorbialTargets-TYPE.cmake
$LIBDIR/cmake/quenorbial/quenorbialTargets.cmake
$LIBDIR/libquenorbial.so
$LIBDIR/libquenorbial.so.$major
$LIBDIR/libquenorbial.so.$VERSION
$LIBDIR/pkgconfig/quenorbial.pc
$MANDIR/man1/quenorbial-sort.1
$MANDIR/man3/quenorbial_compare4.3
END
(cd "$prefix" && find . ! -type d) |
  sed 's|^\./||; s|Targets-[a-z]*\.cmake$|Targets-TYPE.cmake|' | LC_ALL=C sort >"$tmp/got"
diff -u "$tmp/expected" "$tmp/got" >&2 || fail "the installed tree differs"

lib=$prefix/$LIBDIR
[ -L "$lib/libquenorbial.so" ] && [ -L "$lib/libquenorbial.so.$major" ] ||
  fail "libquenorbial.so and libquenorbial.so.$major are not links"
has_dynamic "$lib/libquenorbial.so.$VERSION" SONAME "libquenorbial.so.$major" ||
  fail "wrong SONAME"

# The program finds the library beside it, not in the build tree.
prog=$prefix/$BINDIR/quenorbial-sort
readelf -d "$prog" | grep -E '\((RPATH|RUNPATH)\)' | grep -qF '[$ORIGIN/' ||
  fail "no \$ORIGIN-relative run path in $prog"
! readelf -d "$prog" | grep -qF "$BUILD_DIR" || fail "$prog refers to the build tree"
sh "$SOURCE_DIR/tests/run_paths.sh" "$prefix" >/dev/null ||
  fail "an installed file looks for libraries in the current directory"
# It is linked apart from the program in the build tree, but alike.
needed() { readelf -d "$1" | grep -F '(NEEDED)'; }
[ "$(needed "$prog")" = "$(needed "$BUILD_DIR/quenorbial-sort")" ] ||
  fail "$prog needs other libraries than $BUILD_DIR/quenorbial-sort"
out=$(printf '1.10\n1.0rc1\n1.9\n' | "$prog")
[ "$out" = "$(printf '1.0rc1\n1.9\n1.10')" ] || fail "moved program printed: $out"
# The banner is the program's own text, not the library's version.
out=$("$prog" -V 2>&1)
[ "$out" = "$("$BUILD_DIR/quenorbial-sort" -V 2>&1)" ] || fail "moved program's banner: $out"

# pkg-config: the .pc file finds the tree from where it lies.
export PKG_CONFIG_PATH="$lib/pkgconfig"
[ "$(pkg-config --modversion quenorbial)" = "$VERSION" ] || fail "pkg-config version"
[ "$(cd "$(pkg-config --variable=libdir quenorbial)" && pwd -P)" = "$(cd "$lib" && pwd -P)" ] ||
  fail "pkg-config libdir is not the moved one"
${CC:-cc} -std=c99 -Wall -Wextra -Wpedantic -Werror -o "$tmp/consumer-c" \
  "$SOURCE_DIR/tests/consumer/consumer.c" $(pkg-config --cflags --libs quenorbial) \
  -Wl,-rpath,"$(pkg-config --variable=libdir quenorbial)"
has_dynamic "$tmp/consumer-c" NEEDED "libquenorbial.so.$major" || fail "C consumer's NEEDED"
[ "$("$tmp/consumer-c" 1.0rc1 1.0)$("$tmp/consumer-c" v1.0 1.0)$("$tmp/consumer-c" 1.10 1.9)" = "<=>" ] ||
  fail "C consumer gave wrong orders"
out=$("$tmp/consumer-c") || fail "the installed library's version number is not the header's"
[ "$out" = "$VERSION" ] || fail "the installed header's version macros give $out, not $VERSION"

# find_package: the package, found under the moved prefix, gives the target.
"$CMAKE" -S "$SOURCE_DIR/tests/consumer" -B "$tmp/cpp" -G "$GENERATOR" \
  -DCMAKE_CXX_COMPILER="$CXX_COMPILER" -DCMAKE_PREFIX_PATH="$prefix" \
  -DEXPECTED_VERSION="$VERSION" >"$tmp/cpp.log" 2>&1 || { cat "$tmp/cpp.log" >&2; fail "configuring the C++ consumer"; }
dir=$(sed -n 's/^quenorbial_DIR:[A-Z]*=//p' "$tmp/cpp/CMakeCache.txt")
[ "$(cd "$dir" && pwd -P)" = "$(cd "$lib/cmake/quenorbial" && pwd -P)" ] ||
  fail "find_package used $dir"
"$CMAKE" --build "$tmp/cpp" >"$tmp/cpp.log" 2>&1 || { cat "$tmp/cpp.log" >&2; fail "building the C++ consumer"; }
has_dynamic "$tmp/cpp/consumer" NEEDED "libquenorbial.so.$major" || fail "C++ consumer's NEEDED"
out=$("$tmp/cpp/consumer" 1.10 1.0 1.0rc1 1.9)
[ "$out" = "$(printf '1.0rc1\n1.0\n1.9\n1.10')" ] || fail "C++ consumer printed: $out"
