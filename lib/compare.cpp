// The version ordering: strings are cut into numbers, words and separators,
// each component gets a rank, and the first differing component decides.
#include "quenorbial.h"

#include <cstddef>

namespace {

using Byte = unsigned char;

// Ranks in ascending order. A string that runs out goes on with kZero.
enum Rank : Byte { kPre, kZero, kPost, kNonzero };

constexpr int kFlagBits = P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE;

// ASCII only: the locale must not change the order.
bool is_digit(Byte c) noexcept { return static_cast<unsigned>(c - '0') < 10u; }
bool is_alpha(Byte c) noexcept {
  return static_cast<unsigned>((c | 0x20) - 'a') < 26u;
}
bool is_alnum(Byte c) noexcept { return is_digit(c) || is_alpha(c); }
Byte fold(Byte letter) noexcept { return letter | 0x20; }

// Case-insensitive match of the `n` letters at `w` against a lower-case name
// of the same length.
bool word_is(const Byte *w, const char *name, std::size_t n) noexcept {
  for (std::size_t i = 0; i < n; ++i) {
    if (fold(w[i]) != static_cast<Byte>(name[i])) return false;
  }
  return true;
}

// Ranks the word of `n` letters at `w` and sets `key`, its order within the
// rank. `suffix` tells a single letter glued to a number and not followed by
// a digit.
Rank classify(const Byte *w, std::size_t n, bool suffix, int flags,
              Byte &key) noexcept {
  key = fold(w[0]);
  if ((flags & ALPHA_AS_POST_RELEASE) != 0 || suffix) return kPost;
  switch (n) {
    case 1:
      if (key == 'p' && (flags & P_LETTER_AS_PATCH) != 0) return kPost;
      break;
    case 2:
      if (word_is(w, "pl", 2)) return kPost;
      if (word_is(w, "ga", 2)) return kZero;
      break;
    case 3:
      if (word_is(w, "rev", 3)) return kPost;
      break;
    case 4:
      if (word_is(w, "post", 4)) return kPost;
      break;
    case 5:
      if (word_is(w, "patch", 5)) return kPost;
      if (word_is(w, "final", 5)) return kZero;
      break;
    case 6:
      if (word_is(w, "errata", 6)) return kPost;
      break;
    case 7:
      if (word_is(w, "release", 7)) return kZero;
      break;
    default:
      break;
  }
  if (n >= 3 && word_is(w, "dev", 3)) key = 0;  // dev before alpha
  return kPre;
}

// One string being cut into components.
struct Cursor {
  const Byte *p;
  int flags;
  bool after_number;  // the last component was a number
};

// Cuts the next component off `c` and returns its rank; past the end, kZero.
// A word's order within its rank goes to `key`. A kNonzero number is left
// unread at its first significant digit, for compare_numbers() to read.
inline Rank next(Cursor &c, Byte &key) noexcept {
  bool glued = true;  // no separator since the last component
  while (*c.p != '\0' && !is_alnum(*c.p)) {
    ++c.p;
    glued = false;
  }
  if (*c.p == '\0') return kZero;
  if (is_digit(*c.p)) {
    c.after_number = true;
    while (*c.p == '0') ++c.p;
    return is_digit(*c.p) ? kNonzero : kZero;
  }
  const Byte *w = c.p;
  do {
    ++c.p;
  } while (is_alpha(*c.p));
  std::size_t n = static_cast<std::size_t>(c.p - w);
  bool suffix = n == 1 && glued && c.after_number && !is_digit(*c.p);
  c.after_number = false;
  return classify(w, n, suffix, c.flags, key);
}

// Reads two numbers without leading zeros in one pass: the longer is larger,
// then the first differing digit decides.
inline int compare_numbers(Cursor &a, Cursor &b) noexcept {
  int first = 0;
  for (; is_digit(*a.p) && is_digit(*b.p); ++a.p, ++b.p) {
    if (first == 0 && *a.p != *b.p) first = *a.p < *b.p ? -1 : 1;
  }
  if (is_digit(*a.p)) return 1;
  if (is_digit(*b.p)) return -1;
  return first;
}

// Where the cut of two strings can start when the first `i` bytes of both
// are the same and so are their flags. The components before a separator in
// that prefix are equal in both and no component past it depends on them, so
// the cut may start after the last such separator. It may not start inside
// the run of letters and digits holding byte i - 1: that run's numbers need
// their leading zeros, and its words the bytes around them (a letter glued to
// a number, the byte after a word, the leading v).
std::size_t restart(const Byte *a, std::size_t i) noexcept {
  while (i > 0 && is_alnum(a[i - 1])) --i;
  return i;
}

// Skips the v of a string's start before a digit: git tags mix "v1.2" and
// "1.2".
inline void skip_v(Cursor &c) noexcept {
  if ((*c.p | 0x20) == 'v' && is_digit(c.p[1])) ++c.p;
}

// Compares the components of `a` and `b` from where the cursors stand. Kept
// out of line so that the shortcuts before it run without this loop's
// register saves.
__attribute__((noinline)) int compare_components(Cursor a, Cursor b) noexcept {
  for (;;) {
    Byte ka = 0;
    Byte kb = 0;
    Rank ra = next(a, ka);
    Rank rb = next(b, kb);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra == kNonzero) {
      if (int r = compare_numbers(a, b)) return r;
    } else if (ra != kZero && ka != kb) {
      return ka < kb ? -1 : 1;
    }
    if (*a.p == '\0' && *b.p == '\0') return 0;
  }
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags,
                        int v2_flags) noexcept {
  Cursor a{reinterpret_cast<const Byte *>(v1), v1_flags & kFlagBits, false};
  Cursor b{reinterpret_cast<const Byte *>(v2), v2_flags & kFlagBits, false};
  if (a.flags != b.flags) {
    skip_v(a);
    skip_v(b);
    return compare_components(a, b);
  }
  std::size_t i = 0;
  for (; a.p[i] == b.p[i]; ++i) {
    if (a.p[i] == '\0') return 0;
  }
  std::size_t start = restart(a.p, i);
  a.p += start;
  b.p += start;
  if (start == 0) {
    skip_v(a);
    skip_v(b);
  }
  // Most pairs differ first in a number that both hold here.
  if (is_digit(*a.p) && is_digit(*b.p)) {
    a.after_number = b.after_number = true;
    while (*a.p == '0') ++a.p;
    while (*b.p == '0') ++b.p;
    if (int r = compare_numbers(a, b)) return r;
  }
  return compare_components(a, b);
}
