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

// Whether the string opens with an epoch: digits, then ':' or '!'.
bool has_epoch(const Byte *s) noexcept {
  const Byte *p = s;
  while (is_digit(*p)) ++p;
  return p != s && (*p == ':' || *p == '!');
}

// One string being read into components.
struct Cursor {
  const Byte *p;           // the next byte to read
  const Byte *begin;       // the string's first byte
  const Byte *unscanned;   // [begin, unscanned) was skipped, not yet searched for '+'
  const Byte *kept_until;  // a zero run that ends here or before is not dropped
  int flags;
  bool epoch_pending;      // the implied zero epoch is still to be read
  bool after_pre;          // the last component was a pre-release word
  bool after_plus;         // a '+' lies before p
};

// A cursor at the start of `s`: the epoch first, then the rest.
Cursor cursor_at_start(const Byte *s, int flags) noexcept {
  Cursor c{s, s, s, s, flags, !has_epoch(s), false, false};
  // git tags mix "v1.2" and "1.2".
  if (c.epoch_pending && fold(*s) == 'v' && is_digit(s[1])) ++c.p;
  return c;
}

// A cursor that goes on reading `s` at `at`, right after a number that is not
// zero: no zero is pending there, the last component is no pre-release word
// and the epoch lies behind.
Cursor cursor_after_number(const Byte *s, std::size_t at, int flags) noexcept {
  return Cursor{s + at, s, s + at, s + at, flags, false, false, false};
}

bool plus_before(Cursor &c) noexcept {
  if (!c.after_plus && c.unscanned != c.begin) {
    c.after_plus = std::memchr(c.begin, '+', static_cast<std::size_t>(
                                                 c.unscanned - c.begin)) != nullptr;
    c.unscanned = c.begin;
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
  switch (n) {
    case 1:
      if (key == 'p' && (c.flags & P_LETTER_AS_PATCH) != 0) return kPost;
      break;
    case 2:
      if (word_is(w, "pl", 2)) return kPost;
      break;
    case 3:
      if (word_is(w, "rev", 3)) return kPost;
      break;
    case 4:
      if (word_is(w, "post", 4)) return kPost;
      break;
    case 5:
      if (word_is(w, "patch", 5)) return kPost;
      break;
    case 6:
      if (word_is(w, "errata", 6)) return kPost;
      break;
    default:
      break;
  }
  // Local builds and repacks come after the version they extend.
  if (plus_before(c)) return kPost;
  if ((n == 2 && word_is(w, "ga", 2)) || (n == 5 && word_is(w, "final", 5)) ||
      (n == 7 && word_is(w, "release", 7))) {
    return kNone;
  }
  if (n >= 3 && word_is(w, "dev", 3)) key = 0;  // dev before alpha
  return kPre;
}

// Reads the next component as it stands, zeros included. A kNonzero number
// is left unread at its first significant digit, for compare_numbers(); the
// end mark is not passed, so it is read again and again.
Rank next_as_written(Cursor &c, Byte &key) noexcept {
  for (;;) {
    Byte ch = *c.p;
    if (is_digit(ch)) {
      c.after_pre = false;
      while (*c.p == '0') ++c.p;
      return is_digit(*c.p) ? kNonzero : kZero;
    }
    if (is_alpha(ch)) {
      const Byte *w = c.p;
      do {
        ++c.p;
      } while (is_alpha(*c.p));
      Rank r = classify(c, w, static_cast<std::size_t>(c.p - w), key);
      if (r == kNone) continue;
      c.after_pre = r == kPre;
      return r;
    }
    if (ch == '\0') return kEnd;
    ++c.p;
    if (c.p - 1 != c.begin) {  // at the first byte both are separators
      if (ch == '~') {
        c.after_pre = false;
        return kTilde;
      }
      // "1.0-rc-1" is "1.0-rc1": a pre-release takes its number after a hyphen.
      if (ch == '-' && is_digit(*c.p) && !c.after_pre) {
        return kRevision;
      }
    }
    if (ch == '+') c.after_plus = true;
  }
}

// Called with a zero just read, or the implied zero epoch still to come.
// Zeros directly before a pre-release word are dropped, so that "1.0rc1"
// equals "1rc1": then the word is read and returned instead.
Rank zero_or_pre(Cursor &c, Byte &key) noexcept {
  Cursor ahead = c;
  Byte k = 0;
  Rank r;
  do {
    r = next_as_written(ahead, k);
  } while (r == kZero);
  if (r == kPre) {
    c = ahead;
    key = k;
    return kPre;
  }
  c.kept_until = ahead.p;  // so that each zero run is looked past only once
  return kZero;
}

// Reads the next component of the sequence.
inline Rank next(Cursor &c, Byte &key) noexcept {
  if (c.epoch_pending) {
    c.epoch_pending = false;
    return zero_or_pre(c, key);
  }
  Rank r = next_as_written(c, key);
  if (r != kZero || c.p <= c.kept_until) return r;
  return zero_or_pre(c, key);
}

// Reads two numbers without leading zeros to their ends in one pass: the
// longer is larger, then the first differing digit decides.
inline int compare_numbers(const Byte *&a, const Byte *&b) noexcept {
  int first = 0;
  for (; is_digit(*a) && is_digit(*b); ++a, ++b) {
    if (first == 0 && *a != *b) first = *a < *b ? -1 : 1;
  }
  if (is_digit(*a) || is_digit(*b)) {
    first = is_digit(*a) ? 1 : -1;
    while (is_digit(*a)) ++a;
    while (is_digit(*b)) ++b;
  }
  return first;
}

// Compares the components of `a` and `b` from where the cursors stand. Kept
// out of line so that the shortcut before it runs without this loop's
// register saves.
__attribute__((noinline)) int compare_components(Cursor a, Cursor b) noexcept {
  for (;;) {
    Byte ka = 0;
    Byte kb = 0;
    Rank ra = next(a, ka);
    Rank rb = next(b, kb);
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

// The end of the last number in s[0, i) that is not zero, or 0 when there is
// none: for "1.20.0.x", i = 7 gives 4. Reading can go on there knowing only
// the bytes before it.
std::size_t after_last_nonzero_number(const Byte *s, std::size_t i) noexcept {
  while (i > 0) {
    while (i > 0 && !is_digit(s[i - 1])) --i;
    std::size_t end = i;
    bool nonzero = false;
    for (; i > 0 && is_digit(s[i - 1]); --i) nonzero |= s[i - 1] != '0';
    if (nonzero) return end;
  }
  return 0;
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags,
                        int v2_flags) noexcept {
  const Byte *a = reinterpret_cast<const Byte *>(v1);
  const Byte *b = reinterpret_cast<const Byte *>(v2);
  v1_flags &= kFlagBits;
  v2_flags &= kFlagBits;
  if (v1_flags != v2_flags) {
    return compare_components(cursor_at_start(a, v1_flags),
                              cursor_at_start(b, v2_flags));
  }
  // With the same flags, the components before the first differing byte are
  // the same in both strings, up to the runs and marks that reach it.
  std::size_t i = 0;
  for (; a[i] == b[i]; ++i) {
    if (a[i] == '\0') return 0;
  }
  // Most pairs differ first in a number that both hold here. The sequences
  // agree up to it, so two values that differ decide; so does a zero against
  // a value, since a dropped zero leaves a pre-release word in its place.
  std::size_t run = alnum_run_start(a, i);
  if (is_digit(a[run]) && is_digit(b[run])) {
    const Byte *x = a + run;
    const Byte *y = b + run;
    while (*x == '0') ++x;
    while (*y == '0') ++y;
    int r = compare_numbers(x, y);
    bool epoch = run == 0 && (*x == ':' || *x == '!' || *y == ':' || *y == '!');
    if (r != 0 && !epoch) return r;
  }
  std::size_t at = after_last_nonzero_number(a, run);
  if (at == 0) {
    return compare_components(cursor_at_start(a, v1_flags),
                              cursor_at_start(b, v1_flags));
  }
  return compare_components(cursor_after_number(a, at, v1_flags),
                            cursor_after_number(b, at, v1_flags));
}
