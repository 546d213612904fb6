/* libquenorbial: puts version strings into version order. */
#ifndef QUENORBIAL_H
#define QUENORBIAL_H

/* The library's release; the build takes its version from here. The major
 * version names the shared library, libquenorbial.so.MAJOR, and changes only
 * when the interface breaks; the minor version changes with the results. */
#define QUENORBIAL_VERSION_MAJOR 3
#define QUENORBIAL_VERSION_MINOR 2
#define QUENORBIAL_VERSION_PATCH 0

#if defined(__GNUC__)
#define QUENORBIAL_API __attribute__((visibility("default")))
#else
#define QUENORBIAL_API
#endif

#ifdef __cplusplus
#define QUENORBIAL_NOEXCEPT noexcept
extern "C" {
#else
#define QUENORBIAL_NOEXCEPT
#endif

/* Flag bits; each string is read with its own set. Other bits are ignored. */
enum {
  /* The one-letter word "p" is a post-release compared as "patch", not a
   * pre-release as in "pre". */
  P_LETTER_AS_PATCH = 1,
  /* Debian's order: no word is a pre-release, every hyphen is a mark and only
   * the last opens the revision, words compare by their bytes and no platform
   * suffix is cut: 1.0 < 1.0a < 1.0+b < 1.0.0 < 1.0.dfsg1. */
  ALPHA_AS_POST_RELEASE = 2
};

/* Compares two NUL-terminated version strings, `v1` read with `v1_flags` and
 * `v2` with `v2_flags`. Returns a negative value when v1 orders before v2,
 * zero when they are equal as versions, a positive value when v1 orders after.
 * An epoch ("2:") comes first; numbers of any length compare by value; words
 * rank as pre-releases (alpha, rc, cr, ...) or post-releases (patch, r, sp,
 * dfsg, git, words after a '+' or '^', in a revision or after a release
 * word); a hyphen before a digit opens a revision after a number of the
 * version, unless a pre-release word comes just before it, but only the last
 * hyphen does (in a name, the first one before a digit too), the others
 * coming after a '+' and before a '.'; a '~' sorts before everything, and a
 * '+' or '^' puts what follows after the version it extends but before a
 * longer one. A file name's extensions (".tar.gz", ".jar", ...) and the
 * platform after its version ("-linux-amd64", "-alpine", "-py3-none-any")
 * are not read. ALPHA_AS_POST_RELEASE reads a string in Debian's order
 * instead. It allocates nothing, keeps no state, ignores the locale and reads
 * nothing past either NUL.
 *
 *   quenorbial_compare4("1.9", "1.10", 0, 0)                        < 0
 *   quenorbial_compare4("1.0rc1", "1.0", 0, 0)                      < 0
 *   quenorbial_compare4("v1.2-3-gabc", "v1.2.1", 0, 0)              < 0
 *   quenorbial_compare4("0.19-5", "0.19-4-1", 0, 0)                 < 0
 *   quenorbial_compare4("0.24+dfsg-1", "0.24.0-1", 0, 0)            < 0
 *   quenorbial_compare4("1.0", "1.0^git1", 0, 0)                    < 0
 *   quenorbial_compare4("foo-1.2rc1.jar", "foo-1.2.jar", 0, 0)      < 0
 *   quenorbial_compare4("3.13.0rc2-alpine", "3.13.0-alpine", 0, 0)  < 0
 *   quenorbial_compare4("1.0a", "1.0+b", 2, 2)                      < 0
 *   quenorbial_compare4("v1.0", "1.0", 0, 0)                       == 0
 */
QUENORBIAL_API int quenorbial_compare4(const char *v1, const char *v2,
                                       int v1_flags,
                                       int v2_flags) QUENORBIAL_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* QUENORBIAL_H */
