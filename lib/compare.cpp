// The version ordering: each string is read as a sequence of components (its
// epoch, numbers, words, revision and tilde marks, an end mark), each
// component gets a rank, and the first pair of components that differ decides.
#include "quenorbial.h"

#include <cstddef>
#include <cstring>

namespace {

using Byte = unsigned char;

// Ranks in ascending order. kNone marks a word that is no component at all.
enum Rank : Byte { kTilde, kPre, kEnd, kRevision, kZero, kPost, kNonzero, kNone };

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

bool is_epoch_mark(Byte c) noexcept { return c == ':' || c == '!'; }

// Whether the string opens with a v that is skipped: git tags mix "v1.2" and
// "1.2".
bool opens_with_v(const Byte *s) noexcept { return fold(*s) == 'v' && is_digit(s[1]); }

// Whether the string opens with an epoch: digits, then ':' or '!'.
bool has_epoch(const Byte *s) noexcept {
  const Byte *p = s;
  while (is_digit(*p)) ++p;
  return p != s && is_epoch_mark(*p);
}

// One string being read into components.
struct Cursor {
  const Byte *p;          // the next byte to read
  const Byte *begin;      // the string's first byte
  const Byte *unscanned;  // [begin, unscanned) was skipped, not yet searched for '+'
  int flags;
  bool zero_pending;  // a zero before p is still to be counted
  bool after_pre;     // the last component was a pre-release word
  bool after_plus;    // a '+' lies before p
};

// A cursor at the start of `s`: the epoch first, then the rest.
Cursor cursor_at_start(const Byte *s, int flags) noexcept {
  bool implied_epoch = !has_epoch(s);
  Cursor c{s, s, s, flags, implied_epoch, false, false};
  if (opens_with_v(s)) ++c.p;
  return c;
}

// Whether a '+' lies before the cursor. The skipped prefix is searched only
// when a word needs it, and then once.
bool plus_before(Cursor &c) noexcept {
  for (; !c.after_plus && c.unscanned != c.begin; --c.unscanned) {
    c.after_plus = c.unscanned[-1] == '+';
  }
  return c.after_plus;
}

// Ranks the word of `n` letters at `w` and sets `key`, its order within the
// rank; kNone for a release spelled out.
Rank classify(Cursor &c, const Byte *w, std::size_t n, Byte &key) noexcept {
  key = fold(w[0]);
  if ((c.flags & ALPHA_AS_POST_RELEASE) != 0) return kPost;
  // A letter suffix: one letter glued to a number and not before a digit.
  if (n == 1 && w != c.begin && is_digit(w[-1]) && !is_digit(w[1])) return kPost;
  bool release = false;
  switch (key) {  // the words with a meaning, by their first letter
    case 'p':
      if (n == 1 ? (c.flags & P_LETTER_AS_PATCH) != 0
                 : (n == 2 && word_is(w, "pl", 2)) || (n == 4 && word_is(w, "post", 4)) ||
                       (n == 5 && word_is(w, "patch", 5))) {
        return kPost;
      }
      break;
    case 'r':
      if (n == 3 && word_is(w, "rev", 3)) return kPost;
      release = n == 7 && word_is(w, "release", 7);
      break;
    case 'e':
      if (n == 6 && word_is(w, "errata", 6)) return kPost;
      break;
    case 'f':
      release = n == 5 && word_is(w, "final", 5);
      break;
    case 'g':
      release = n == 2 && word_is(w, "ga", 2);
      break;
    case 'd':
      if (n >= 3 && word_is(w, "dev", 3)) key = 0;  // dev before alpha
      break;
    default:
      break;
  }
  // Local builds and repacks come after the version they extend.
  if (plus_before(c)) {
    key = fold(w[0]);
    return kPost;
  }
  return release ? kNone : kPre;
}

// Reads the next component as it stands, a zero included. A kNonzero number
// is left unread at its first significant digit, for compare_numbers(); the
// end mark is not passed, so it is read again and again.
inline Rank next_as_written(Cursor &c, Byte &key) noexcept {
  for (;;) {
    Byte ch = *c.p;
    if (is_digit(ch)) {
      c.after_pre = false;
      while (*c.p == '0') ++c.p;
      return is_digit(*c.p) ? kNonzero : kZero;
    }
    ++c.p;
    if (ch == '.') continue;  // by far the most common separator
    if (is_alpha(ch)) {
      const Byte *w = c.p - 1;
      while (is_alpha(*c.p)) ++c.p;
      Rank r = classify(c, w, static_cast<std::size_t>(c.p - w), key);
      if (r == kNone) continue;
      c.after_pre = r == kPre;
      return r;
    }
    if (ch == '\0') {
      --c.p;
      return kEnd;
    }
    if (c.p - 1 != c.begin) {  // at the first byte both are separators
      if (ch == '~') {
        c.after_pre = false;
        return kTilde;
      }
      // "1.0-rc-1" is "1.0-rc1": a pre-release takes its number after a hyphen.
      if (ch == '-' && is_digit(*c.p) && !c.after_pre) return kRevision;
    }
    if (ch == '+') c.after_plus = true;
  }
}

// Reads the zeros up to the next other component, counts them into `zeros`
// and returns that component. Zeros directly before a pre-release word are
// padding ("1.0rc1" equals "1rc1"), so there the count is 0.
inline Rank next(Cursor &c, Byte &key, std::size_t &zeros) noexcept {
  std::size_t n = c.zero_pending ? 1 : 0;
  c.zero_pending = false;
  Rank r;
  while ((r = next_as_written(c, key)) == kZero) ++n;
  zeros = r == kPre ? 0 : n;
  return r;
}

// Reads two numbers without leading zeros in one pass: the longer is larger,
// then the first differing digit decides. Both are read to their ends when
// they are equal.
inline int compare_numbers(const Byte *&a, const Byte *&b) noexcept {
  int first = 0;
  for (; is_digit(*a) && is_digit(*b); ++a, ++b) {
    if (first == 0 && *a != *b) first = *a < *b ? -1 : 1;
  }
  if (is_digit(*a)) return 1;
  if (is_digit(*b)) return -1;
  return first;
}

// Compares the components of `a` and `b` from where the cursors stand.
int compare_components(Cursor a, Cursor b) noexcept {
  for (;;) {
    Byte ka = 0;
    Byte kb = 0;
    std::size_t za;
    std::size_t zb;
    Rank ra = next(a, ka, za);
    Rank rb = next(b, kb, zb);
    // Where one string has run out of zeros, its component meets a zero.
    if (za != zb) {
      Rank met = za < zb ? ra : rb;
      return (met < kZero) == (za < zb) ? -1 : 1;
    }
    if (ra != rb) return ra < rb ? -1 : 1;
    switch (ra) {
      case kNonzero:
        if (int r = compare_numbers(a.p, b.p)) return r;
        break;
      case kPre:
      case kPost:
        if (ka != kb) return ka < kb ? -1 : 1;
        break;
      case kEnd:
        return 0;
      default:
        break;
    }
  }
}

// The start of the run of letters and digits that holds byte i - 1, or i
// when that byte is neither: for "1.22b" and "1.22c", i = 4 gives 2.
std::size_t alnum_run_start(const Byte *s, std::size_t i) noexcept {
  while (i > 0 && is_alnum(s[i - 1])) --i;
  return i;
}

// A cursor that goes on reading `s` at `at`, where a run of letters and
// digits or a hyphen begins, from what the last component before it was:
// a zero still counts, a pre-release word turns a hyphen into a separator.
// Found by reading back: no mark but a tilde can stand in the separators
// just before `at`, since a hyphen there is followed by no digit.
Cursor cursor_at(const Byte *s, std::size_t at, int flags) noexcept {
  Cursor c{s + at, s, s + at, flags, false, false, false};
  std::size_t i = at;
  for (;;) {
    while (i > 0 && !is_alnum(s[i - 1])) {
      if (s[--i] == '~' && i > 0) return c;
    }
    if (i == 0) {  // nothing but the implied zero epoch
      c.zero_pending = true;
      return c;
    }
    if (is_digit(s[i - 1])) {
      for (; i > 0 && is_digit(s[i - 1]); --i) {
        if (s[i - 1] != '0') return c;
      }
      c.zero_pending = true;
      return c;
    }
    std::size_t end = i;
    while (i > 0 && is_alpha(s[i - 1])) --i;
    Cursor word = c;
    word.unscanned = s + i;
    Byte key;
    Rank r = classify(word, s + i, end - i, key);
    if (r != kNone) {
      c.after_pre = r == kPre;
      c.after_plus = word.after_plus;  // else [i, at) is still to be searched
      return c;
    }
  }
}

// Compares two strings read with the same flags from `at` > 0, the start of
// the run that holds their first difference. The bytes before `at` are the
// same in both, so is what the cursors know there.
__attribute__((noinline)) int compare_from(const Byte *a, const Byte *b, std::size_t at,
                                           int flags) noexcept {
  // A hyphen before the run is a revision mark or not by the byte after it.
  if (a[at - 1] == '-') --at;
  Cursor ca = cursor_at(a, at, flags);
  Cursor cb = ca;
  cb.p = b + at;
  cb.begin = b;
  cb.unscanned = b + at;
  return compare_components(ca, cb);
}

// Compares two strings read with the same flags from `x` in `a` and `y` in
// `b`, right after a number of the same value that opens at `at` in both:
// the components before it are the same, no pre-release word is the last,
// and only a zero is still to be counted.
__attribute__((noinline)) int compare_after_number(const Byte *a, const Byte *x, const Byte *b,
                                                   const Byte *y, std::size_t at, bool zero,
                                                   int flags) noexcept {
  return compare_components(Cursor{x, a, a + at, flags, zero, false, false},
                            Cursor{y, b, b + at, flags, zero, false, false});
}

// Compares two strings from their starts, each read with its own flags. When
// both open with a number that is an epoch in both or in neither, those
// numbers come first in both sequences.
__attribute__((noinline)) int compare_with_flags(const Byte *a, const Byte *b, int a_flags,
                                                 int b_flags) noexcept {
  if (is_digit(*a) && is_digit(*b)) {
    const Byte *x = a;
    const Byte *y = b;
    while (*x == '0') ++x;
    while (*y == '0') ++y;
    bool zero = !is_digit(*x);
    int r = compare_numbers(x, y);
    // As in compare_after_prefix(), written out again there: a shared helper
    // cost 1 to 2% of the instructions of a sort.
    if (is_epoch_mark(*x) == is_epoch_mark(*y)) {
      if (r != 0) return r;
      return compare_components(Cursor{x, a, a, a_flags, zero, false, false},
                                Cursor{y, b, b, b_flags, zero, false, false});
    }
  }
  return compare_components(cursor_at_start(a, a_flags), cursor_at_start(b, b_flags));
}

int compare_from_start(const Byte *a, const Byte *b, int flags) noexcept;

// Compares two strings read with the same flags whose first `i` bytes from
// `a` and `b` on are the same; `a_start` and `b_start` are where the strings
// begin, before a v that was skipped.
inline int compare_after_prefix(const Byte *a_start, const Byte *b_start, const Byte *a,
                                const Byte *b, std::size_t i, int flags) noexcept {
  // Most pairs differ first in a number that both hold, as in "1.2" and
  // "1.10" or "rc2" and "rc10". The sequences agree up to it (a word before
  // it is followed by a digit in both), so two values that differ decide; so
  // does a zero against a value, since a dropped zero leaves a pre-release
  // word in its place. Equal values, as in "1.0" and "1.0.0", leave both
  // strings read up to the same point.
  std::size_t num = i;
  while (num > 0 && is_digit(a[num - 1])) --num;
  if (is_digit(a[num]) && is_digit(b[num])) {
    const Byte *x = a + num;
    const Byte *y = b + num;
    while (*x == '0') ++x;
    while (*y == '0') ++y;
    bool zero = !is_digit(*x);
    int r = compare_numbers(x, y);
    // The digits open both strings: is one of them an epoch and not the
    // other? A number read only in part is the longer one, which is the
    // larger as an epoch or not; only one read whole can turn the order.
    // (Past a skipped v, what looks like an epoch is read from the start.)
    if (num == 0 && is_epoch_mark(*x) != is_epoch_mark(*y)) {
      return compare_with_flags(a_start, b_start, flags, flags);
    }
    if (r != 0) return r;
    return compare_after_number(a, x, b, y, num, zero, flags);
  }
  std::size_t run = alnum_run_start(a, num);
  if (run > 0) return compare_from(a, b, run, flags);
  if (a == a_start && b == b_start) return compare_from_start(a, b, flags);
  return compare_with_flags(a_start, b_start, flags, flags);
}

// Compares two strings read with the same flags, one or both opening with a
// v before a digit. git tags mix "v1.2" and "1.2": past the v both read the
// same, unless the other string opens with an epoch, which a string that
// opens with v never has.
__attribute__((noinline)) int compare_past_v(const Byte *a_start, const Byte *b_start,
                                             int flags) noexcept {
  const Byte *a = a_start + opens_with_v(a_start);
  const Byte *b = b_start + opens_with_v(b_start);
  if ((a == a_start && has_epoch(a)) || (b == b_start && has_epoch(b))) {
    return compare_with_flags(a_start, b_start, flags, flags);
  }
  std::size_t i = 0;
  for (; a[i] == b[i]; ++i) {
    if (a[i] == '\0') return 0;
  }
  return compare_after_prefix(a_start, b_start, a, b, i, flags);
}

// Compares two strings read with the same flags that differ in their first
// run of letters and digits, from their starts.
__attribute__((noinline)) int compare_from_start(const Byte *a, const Byte *b,
                                                 int flags) noexcept {
  if (opens_with_v(a) || opens_with_v(b)) return compare_past_v(a, b, flags);
  return compare_with_flags(a, b, flags, flags);
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags,
                        int v2_flags) noexcept {
  const Byte *a = reinterpret_cast<const Byte *>(v1);
  const Byte *b = reinterpret_cast<const Byte *>(v2);
  v1_flags &= kFlagBits;
  v2_flags &= kFlagBits;
  if (v1_flags != v2_flags) return compare_with_flags(a, b, v1_flags, v2_flags);
  // With the same flags, the components before the first differing byte are
  // the same in both strings, up to the runs and marks that reach it.
  std::size_t i = 0;
  for (; a[i] == b[i]; ++i) {
    if (a[i] == '\0') return 0;
  }
  return compare_after_prefix(a, b, a, b, i, v1_flags);
}
