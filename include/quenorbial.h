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
  /* The one-letter word "p" means "patch" (post-release), not "pre". */
  P_LETTER_AS_PATCH = 1,
  /* Every word is a post-release: 1.0 < 1.0foo. */
  ALPHA_AS_POST_RELEASE = 2
};

/* Compares two NUL-terminated version strings, `v1` read with `v1_flags` and
 * `v2` with `v2_flags`. Returns a negative value when v1 orders before v2,
 * zero when they are equal as versions, a positive value when v1 orders after.
 * An epoch ("2:") comes first; numbers of any length compare by value; words
 * rank as pre-releases (alpha, rc, cr, ...) or post-releases (patch, sp,
 * words after a '+' or '^' and words in a revision); a hyphen before a digit
 * starts a revision, but not at the start nor after a pre-release word or the
 * epoch; a '~' sorts before everything, and a '+' or '^' puts what follows
 * after the version it extends but before a longer one. A file name's
 * extensions (".tar.gz", ".jar", ...) are not read. It allocates nothing,
 * keeps no state, ignores the locale and reads nothing past either NUL.
 *
 *   quenorbial_compare4("1.9", "1.10", 0, 0)                    < 0
 *   quenorbial_compare4("1.0rc1", "1.0", 0, 0)                  < 0
 *   quenorbial_compare4("v1.2-3-gabc", "v1.2.1", 0, 0)          < 0
 *   quenorbial_compare4("0.24+dfsg-1", "0.24.0-1", 0, 0)        < 0
 *   quenorbial_compare4("1.0", "1.0^git1", 0, 0)                < 0
 *   quenorbial_compare4("foo-1.2rc1.jar", "foo-1.2.jar", 0, 0)  < 0
 *   quenorbial_compare4("v1.0", "1.0", 0, 0)                   == 0
 */
QUENORBIAL_API int quenorbial_compare4(const char *v1, const char *v2,
                                       int v1_flags,
                                       int v2_flags) QUENORBIAL_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* QUENORBIAL_H */
