// The version ordering: each string is read as a sequence of components (its
// epoch, numbers, words, revision, plus and tilde marks, an end mark), each
// component gets a rank, and the first pair of components that differ decides.
//
// Map, from the bottom up; each part relies only on those above it.
// - Character tests, the names of extensions and their index: ASCII only.
// - The reader: Cursor, step(), classify() and next(). It holds every rule
//   of the ordering, each once, and reads one string from a point where it
//   knows what the rules need of the bytes behind: from the start, right
//   after a number (Cursor::after_number()), or where another cursor stood
//   in a string alike up to there (Cursor::moved_to()). What lies further
//   behind (a plus mark, the revision mark a run began at) it searches for
//   when a word needs it.
// - compare_components(): the first pair of components that differ
//   decides. compare_whole() reads both strings from their starts, each
//   with its own flags, and is right for any pair.
// - The fast path, for two strings read with the same flags (a Pair): their
//   readings are alike up to the first byte where they differ, but for
//   what the bytes from there on decide of the components behind them.
//   - restart_point() decides where reading restarts and lists each such
//     hazard with the rule it comes from; compare_from() reads on from
//     there, the state found by reading one string up to it
//     (Cursor::read_to()) and shared with the other.
//   - values_decide() guards the shortcut where the difference lies in a
//     number that both strings hold: two values that differ decide,
//     whatever came before, and equal ones leave both readings in a known
//     state right after them (compare_by_values()).
//   - plain_prefix() reads the common bytes while they hold no letter, the
//     case where values_decide() has least to ask; compare_elsewhere()
//     takes every other pair, and compare_past_v() a pair whose first bytes
//     differ by a v that is skipped.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "quenorbial.h"

namespace {

using Byte = unsigned char;

// Ranks in ascending order. kNone marks what is no component: a separator, or
// a release word spelled out.
enum Rank : Byte { kTilde, kPre, kEnd, kRevision, kPlus, kZero, kPost, kNonzero, kNone };

constexpr int kFlagBits = P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE;

// ASCII only: the locale must not change the order.
constexpr bool is_digit(Byte c) noexcept { return static_cast<unsigned>(c - '0') < 10u; }
constexpr bool is_alpha(Byte c) noexcept { return static_cast<unsigned>((c | 0x20) - 'a') < 26u; }
constexpr bool is_alnum(Byte c) noexcept { return is_digit(c) || is_alpha(c); }
constexpr Byte fold(Byte c) noexcept { return c | 0x20; }  // digits stay as they are

// The bytes that the fast path passes over without a second look: all but
// the end and letters.
struct ByteSet {
  bool has[256];
  constexpr bool operator[](Byte c) const noexcept { return has[c]; }
};
constexpr ByteSet plain_bytes() noexcept {
  ByteSet set{};
  for (int c = 1; c < 256; ++c) set.has[c] = !is_alpha(static_cast<Byte>(c));
  return set;
}
constexpr ByteSet kPlain = plain_bytes();

// Case-insensitive match of the `n` bytes at `w` against a lower-case name.
bool word_is(const Byte *w, std::size_t n, std::string_view name) noexcept {
  if (n != name.size()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (fold(w[i]) != static_cast<Byte>(name[i])) return false;
  }
  return true;
}

bool is_epoch_mark(Byte c) noexcept { return c == ':' || c == '!'; }

// The first digit of a number that is not a leading zero, or its end: a
// number's leading zeros are ignored.
const Byte *past_zeros(const Byte *p) noexcept {
  while (*p == '0') ++p;
  return p;
}

// Whether the string opens with a v that is skipped: git tags mix "v1.2" and
// "1.2".
bool opens_with_v(const Byte *s) noexcept { return fold(s[0]) == 'v' && is_digit(s[1]); }

// The ':' or '!' after the digits that open the string, or null.
const Byte *epoch_mark(const Byte *s) noexcept {
  const Byte *p = s;
  while (is_digit(*p)) ++p;
  return p != s && is_epoch_mark(*p) ? p : nullptr;
}

// The names of files' extensions, as in "foo-1.2.tar.gz", in lower case and
// sorted by their first byte.
constexpr std::string_view kExtensions[] = {
    "7z",  "aar", "apk",  "appimage", "asc", "bz2",  "deb", "dmg", "ear", "egg", "exe",
    "gem", "gz",  "img",  "iso",      "jar", "lz",   "lzma", "msi", "nupkg", "pkg", "rpm",
    "sig", "tar", "tbz2", "tgz",      "txz", "war",  "whl", "xz",  "zip", "zst"};

// Where the names that open with a byte, in either case, stand in
// kExtensions: [begin, end), empty for a byte no name opens with. Tables,
// since most bytes asked about are the digits of a number after a dot, and
// `opens` says begin != end in one load, as the numbers' path asks it of
// nearly every pair.
struct ExtensionIndex {
  bool opens[256];
  Byte begin[256];
  Byte end[256];
};
constexpr ExtensionIndex index_extensions() noexcept {
  ExtensionIndex index{};
  for (int c = 0; c < 256; ++c) {
    Byte b = static_cast<Byte>(c);
    if (!is_alnum(b)) continue;
    for (Byte k = 0; k < std::size(kExtensions); ++k) {
      if (static_cast<Byte>(kExtensions[k][0]) != fold(b)) continue;
      if (!index.opens[c]) index.begin[c] = k;
      index.opens[c] = true;
      index.end[c] = k + 1;
    }
  }
  return index;
}
constexpr ExtensionIndex kExtensionIndex = index_extensions();

// Every name has a letter second, so that most runs are turned away after
// two bytes.
constexpr bool names_have_a_letter_second() noexcept {
  for (std::string_view name : kExtensions) {
    if (name.size() < 2 || !is_alpha(static_cast<Byte>(name[1]))) return false;
  }
  return true;
}
static_assert(names_have_a_letter_second());

// Whether an extension's name may open at `p`.
bool may_open_extension(const Byte *p) noexcept {
  return kExtensionIndex.opens[p[0]] && is_alpha(p[1]);
}

// Whether the run of letters and digits at `w` names an extension and is
// followed by a dot or the end; if so, where it ends. Each name is matched
// from the front, so a long run (a timestamp after dev) is not walked. The
// match folds the bytes below the digits onto them (0x12 onto the 2 of
// bz2), so a match is a name only if it is all letters and digits.
const Byte *extension_end(const Byte *w) noexcept {
  if (!may_open_extension(w)) return nullptr;  // most often a number
  for (Byte k = kExtensionIndex.begin[w[0]]; k != kExtensionIndex.end[w[0]]; ++k) {
    std::string_view name = kExtensions[k];
    const Byte *e = w + name.size();
    if (word_is(w, name.size(), name) && (*e == '.' || *e == '\0')) {
      return std::all_of(w, e, is_alnum) ? e : nullptr;
    }
  }
  return nullptr;
}

// Whether the byte at `p` in the string `s` is a plus mark.
bool is_plus_mark(const Byte *s, const Byte *p) noexcept {
  return (*p == '+' || *p == '^') && p != s;
}

// Where the run of letters, digits and dots that is being read stands to a
// revision mark: whether it began right after one, or not known yet.
enum class Run : Byte { kPlain, kRevision, kUnknown };

// One string being read into components.
class Cursor {
 public:
  // A cursor at the start of `s`: the epoch first, then the rest.
  static Cursor at_start(const Byte *s, int flags) noexcept {
    Cursor c(s, s, flags, epoch_mark(s));
    if (c.epoch_mark_ == nullptr) {
      c.zeros_ = 1;  // the epoch is 0
      if (opens_with_v(s)) ++c.p_;
    }
    c.unscanned_ = c.p_;
    c.run_ = Run::kPlain;
    return c;
  }

  // A cursor at `p` in `s`, right after a number (of value 0 when `zero`),
  // in a string read with the same flags as the other one and alike up to
  // that number. Zeros before it no longer count: all that can turn an
  // order is whether one is still to be compared. What lies further behind
  // it finds when a word needs it.
  static Cursor after_number(const Byte *s, const Byte *p, bool zero, int flags) noexcept {
    Cursor c(s, p, flags, is_epoch_mark(*p) ? epoch_mark(s) : nullptr);
    c.zeros_ = zero ? 1 : 0;
    c.opens_ = true;
    return c;
  }

  // A cursor that has read `s` up to `to`, the start of a token.
  static Cursor read_to(const Byte *s, const Byte *to, int flags) noexcept;

  // A cursor at `p` in `s` that knows what this one knows: the bytes of `s`
  // before `p` read as this cursor's string before where it stands, but
  // for a v that only this one skipped.
  Cursor moved_to(const Byte *s, const Byte *p) const noexcept {
    Cursor c = *this;
    c.begin_ = s;
    c.p_ = p;
    c.chain_from_ = s;
    std::size_t searched = static_cast<std::size_t>(p_ - unscanned_);
    c.unscanned_ = searched < static_cast<std::size_t>(p - s) ? p - searched : s;
    if (epoch_mark_ != nullptr) c.epoch_mark_ = p - (p_ - epoch_mark_);  // no v then
    return c;
  }

  friend Rank step(Cursor &c, Byte &key, const Byte *stop) noexcept;
  friend Rank next(Cursor &c, Byte &key, std::size_t &zeros) noexcept;
  friend void advance(Cursor &c, const Byte *to) noexcept;
  friend int compare_components(Cursor a, Cursor b) noexcept;

 private:
  Cursor(const Byte *s, const Byte *p, int flags, const Byte *epoch) noexcept
      : p_(p), begin_(s), chain_from_(s), unscanned_(p), epoch_mark_(epoch), flags_(flags) {}

  Rank classify(const Byte *w, std::size_t n, Byte &key) noexcept;
  bool plus_behind() noexcept;
  bool in_revision(const Byte *w) noexcept {
    if (run_ == Run::kUnknown) find_run(w);
    return run_ == Run::kRevision;
  }
  void find_run(const Byte *w) noexcept;
  bool chain_at(const Byte *dot) noexcept;

  const Byte *p_;           // the next byte to read
  const Byte *begin_;       // the string's first byte
  const Byte *chain_from_;  // no extension chain starts at a dot before this
  const Byte *unscanned_;   // [begin_, unscanned_) is not yet searched for a plus mark
  const Byte *epoch_mark_;  // the ':' or '!' after the epoch, or null
  int flags_;
  std::size_t zeros_ = 0;    // zeros read and not yet compared
  bool opens_ = false;       // the last component is neither a pre-release word nor the epoch
  bool after_plus_ = false;  // a plus mark lies behind
  Run run_ = Run::kUnknown;
};

// Ranks the word of `n` letters at `w` and sets `key`, its order within the
// rank; kNone for a release spelled out. The first rule that applies wins.
Rank Cursor::classify(const Byte *w, std::size_t n, Byte &key) noexcept {
  key = fold(w[0]);
  if ((flags_ & ALPHA_AS_POST_RELEASE) != 0) return kPost;
  // A letter suffix: one letter glued to a number and not before a digit.
  if (n == 1 && w != begin_ && is_digit(w[-1]) && !is_digit(w[1])) return kPost;
  bool post = false;     // a post-release by its name
  bool release = false;  // a release spelled out
  switch (key) {         // the words with a meaning, by their first letter
    case 'p':
      post = n == 1 ? (flags_ & P_LETTER_AS_PATCH) != 0
                    : word_is(w, n, "pl") || word_is(w, n, "post") || word_is(w, n, "patch");
      break;
    case 'e': post = word_is(w, n, "errata"); break;
    case 'r':
      post = word_is(w, n, "rev");
      release = word_is(w, n, "release");
      break;
    case 's':
      post = word_is(w, n, "sp");  // a service pack
      break;
    case 'f': release = word_is(w, n, "final"); break;
    case 'g': release = word_is(w, n, "ga"); break;
    default: break;
  }
  if (post) return kPost;
  // Local builds, repacks and snapshots come after the version they extend;
  // Ubuntu's and RPM's rebuilds after the revision they rebuild.
  if (plus_behind() || in_revision(w)) return kPost;
  if (release) return kNone;
  if (n >= 3 && word_is(w, 3, "dev")) {
    key = 0;  // dev before alpha
  } else if (word_is(w, n, "cr")) {
    key = 'r';  // a candidate release is an rc
  }
  return kPre;
}

// Whether a plus mark lies behind. The bytes the cursor did not read are
// searched only when a word needs it, and then once.
bool Cursor::plus_behind() noexcept {
  for (; !after_plus_ && unscanned_ != begin_; --unscanned_) {
    after_plus_ = is_plus_mark(begin_, unscanned_ - 1);
  }
  return after_plus_;
}

// Whether the dot at `dot` starts an extension chain that runs to the end;
// if so, the cursor is moved to the end. A chain that fails fails for every
// dot up to where it failed, so each byte is looked at once.
bool Cursor::chain_at(const Byte *dot) noexcept {
  for (const Byte *d = dot;;) {
    const Byte *e = extension_end(d + 1);
    if (e == nullptr) {
      chain_from_ = d + 1;
      return false;
    }
    if (*e == '\0') {
      p_ = e;
      return true;
    }
    d = e;
  }
}

// Reads one token: a run of digits, a run of letters or one other byte, and
// returns its rank, kNone for no component. Dots before it that no extension
// may follow are passed over, but not the one at `stop`. A kNonzero number
// is left at its first significant digit, for compare_numbers(); the end is
// not passed, so it is read again and again.
inline Rank step(Cursor &c, Byte &key, const Byte *stop = nullptr) noexcept {
  const Byte *p = c.p_;
  while (*p == '.' && p != stop && !may_open_extension(p + 1)) ++p;
  if (p == stop) {
    c.p_ = p;
    return kNone;
  }
  Byte ch = *p;
  if (is_digit(ch)) {
    c.opens_ = true;
    c.p_ = p = past_zeros(p);
    return is_digit(*p) ? kNonzero : kZero;
  }
  if (is_alpha(ch)) {
    const Byte *w = p;
    while (is_alpha(*++p)) {
    }
    c.p_ = p;
    Rank r = c.classify(w, static_cast<std::size_t>(p - w), key);
    if (r != kNone) c.opens_ = r != kPre;
    return r;
  }
  c.p_ = p + 1;
  switch (ch) {
    case '.':  // by far the most common separator; it keeps a revision's run
      if (may_open_extension(p + 1) && p >= c.chain_from_ && c.chain_at(p)) return kEnd;
      return kNone;
    case '\0': c.p_ = p; return kEnd;
    case '-':
      // "1.0-rc-1" is "1.0-rc1" and "release-3.0" is "3.0": a hyphen after
      // a pre-release word or the epoch opens nothing.
      if (p != c.begin_ && is_digit(p[1]) && c.opens_) {
        c.run_ = Run::kRevision;
        return kRevision;
      }
      break;
    case '~':
      if (p != c.begin_) {
        c.run_ = Run::kPlain;
        c.opens_ = true;
        return kTilde;
      }
      break;
    case '+':
    case '^':
      if (is_plus_mark(c.begin_, p)) {
        c.run_ = Run::kPlain;
        c.opens_ = true;
        c.after_plus_ = true;
        return kPlus;
      }
      break;
    case ':':
    case '!':
      if (p == c.epoch_mark_) c.opens_ = false;
      break;
    default: break;
  }
  c.run_ = Run::kPlain;
  return kNone;
}

// Reads the zeros up to the next other component, counts them into `zeros`
// and returns that component. Zeros directly before a pre-release word are
// padding ("1.0rc1" equals "1rc1"), so there the count is 0.
inline Rank next(Cursor &c, Byte &key, std::size_t &zeros) noexcept {
  std::size_t n = c.zeros_;
  c.zeros_ = 0;
  Rank r;
  for (;;) {
    r = step(c, key);
    if (r == kZero) {
      ++n;
    } else if (r != kNone) {
      break;
    }
  }
  zeros = r == kPre ? 0 : n;
  return r;
}

void skip_digits(const Byte *&p) noexcept {
  while (is_digit(*p)) ++p;
}

// Whether the digits in [from, to) are all zeros.
bool all_zeros(const Byte *from, const Byte *to) noexcept {
  for (; from != to; ++from) {
    if (*from != '0') return false;
  }
  return true;
}

// Reads the components of `c` up to `to`, a token's start, keeping only what
// the reader knows there.
void advance(Cursor &c, const Byte *to) noexcept {
  while (c.p_ < to) {
    Byte key;
    Rank r = step(c, key, to);
    if (r == kZero) {
      ++c.zeros_;
    } else if (r != kNone) {
      c.zeros_ = 0;
      if (r == kNonzero) skip_digits(c.p_);
    }
  }
}

// The start of the run of letters and digits that holds byte `i` - 1 of `x`,
// or `i` when that byte is neither.
std::size_t run_start(const Byte *x, std::size_t i) noexcept {
  while (i > 0 && is_alnum(x[i - 1])) --i;
  return i;
}

// The start of the run of digits that holds byte `i` - 1 of `x`, or `i`.
std::size_t number_start(const Byte *x, std::size_t i) noexcept {
  while (i > 0 && is_digit(x[i - 1])) --i;
  return i;
}

// Finds where the run of letters, digits and dots that holds the word at
// `w` began, which a cursor that started in the middle of it does not know:
// the string is read up to the run.
void Cursor::find_run(const Byte *w) noexcept {
  const Byte *run = w;
  while (run != begin_ && (is_alnum(run[-1]) || run[-1] == '.')) --run;
  run_ = read_to(begin_, run, flags_).run_;
}

// Reading starts right after the last number before `to`, where little is
// left to know, or else at the start.
Cursor Cursor::read_to(const Byte *s, const Byte *to, int flags) noexcept {
  const Byte *end = to;
  while (end != s && !is_digit(end[-1])) --end;
  Cursor c = at_start(s, flags);
  if (end != s) {
    std::size_t start = number_start(s, static_cast<std::size_t>(end - s));
    c = after_number(s, end, all_zeros(s + start, end), flags);
  }
  advance(c, to);
  return c;
}

// Compares two numbers without leading zeros by value: the longer is
// larger, then the first differing digit decides. Both are read to their
// ends when they are equal; when they differ, at least the shorter is.
inline int compare_numbers(const Byte *&a, const Byte *&b) noexcept {
  while (*a == *b && is_digit(*a)) {
    ++a;
    ++b;
  }
  if (!is_digit(*a)) return is_digit(*b) ? -1 : 0;
  if (!is_digit(*b)) return 1;
  int first = *a < *b ? -1 : 1;
  do {
    ++a;
    ++b;
  } while (is_digit(*a) && is_digit(*b));
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
        if (int r = compare_numbers(a.p_, b.p_)) return r;
        break;
      case kPre:
      case kPost:
        if (ka != kb) return ka < kb ? -1 : 1;
        break;
      case kEnd: return 0;
      default: break;
    }
  }
}

// Compares two strings from their starts, each read with its own flags.
int compare_whole(const Byte *a, const Byte *b, int a_flags, int b_flags) noexcept {
  return compare_components(Cursor::at_start(a, a_flags), Cursor::at_start(b, b_flags));
}


// Two strings read with the same flags, and where the fast path reads each
// from: both strings' readings are in the same state at x and at y.
struct Pair {
  const Byte *a;  // the strings
  const Byte *b;
  const Byte *x;  // a, or a past a v that only a string opening with v skips
  const Byte *y;  // b, or b past such a v
  int flags;
};

// Compares the pair from `at` bytes past x and y, where both readings are in
// the same state and up to which they hold the same bytes; from the strings'
// starts when `at` is 0. Out of line, so that its callers stay light.
__attribute__((noinline)) int compare_from(Pair p, std::size_t at) noexcept {
  if (at == 0) return compare_whole(p.a, p.b, p.flags, p.flags);
  Cursor ca = Cursor::read_to(p.a, p.x + at, p.flags);
  return compare_components(ca, ca.moved_to(p.b, p.y + at));
}

// Whether a listed name may follow a dot at `run` in either string.
inline bool may_follow_extension_dot(Pair p, std::size_t run) noexcept {
  return run > 0 && p.x[run - 1] == '.' &&
         (may_open_extension(p.x + run) || may_open_extension(p.y + run));
}

// The first dot of the listed names that end just before `run`, where one
// string or the other has a listed name at `run`; else `run`.
std::size_t before_listed_names(Pair p, std::size_t run) noexcept {
  if (extension_end(p.x + run) == nullptr && extension_end(p.y + run) == nullptr) return run;
  std::size_t at = run - 1;
  for (;;) {
    std::size_t name = run_start(p.x, at);
    if (name == at || name == 0 || p.x[name - 1] != '.' || extension_end(p.x + name) == nullptr) {
      return at;
    }
    at = name - 1;
  }
}

// Where reading restarts for a pair whose first `i` bytes from x and y on
// are the same. Behind the difference both readings are alike, but for
// what the bytes at and after it decide of the components before it. Each
// such hazard, with the rule it comes from, in the order they are met:
// 1. A component's kind may depend on the byte after it, which may be the
//    one that differs: a hyphen is a revision mark only before a digit, and
//    one letter after a number is a letter suffix only when no digit
//    follows. So reading restarts at the start of the run of letters and
//    digits that holds the byte before the difference, or at the hyphen
//    before that run.
// 2. An extension chain makes a string end early, decided by its whole
//    tail. A chain that starts before the difference in either string runs
//    through the byte before it, so the run there is a listed name after a
//    dot in that string. Only then does reading restart earlier, at the
//    first dot of the listed names before the difference, and each string's
//    reader finds its own chain. Plus marks and the tilde after them ("+~")
//    are single bytes that decide by themselves.
// 3. The epoch and the skipped v are decided by the opening bytes. A
//    restart past the opening digits has both openings in common; one at
//    the start reads both strings whole (compare_from()).
std::size_t restart_point(Pair p, std::size_t i) noexcept {
  std::size_t run = run_start(p.x, i);
  if (may_follow_extension_dot(p, run)) {
    std::size_t at = before_listed_names(p, run);
    if (at != run) return at;
  }
  if (run > 0 && p.x[run - 1] == '-') return run - 1;
  return run;
}

// Whether the values of the numbers that both strings hold from `num` bytes
// past x and y on, where the difference lies in them or right after them,
// decide the order, whatever came before; and, when they are equal, whether
// both readings are in the same state right after them. `plain` says that
// the common bytes hold no letter. A value beats a zero, and it beats the
// pre-release word that a dropped zero leaves, so two values that differ
// decide, and equal ones leave both read alike, but for:
// - An extension chain: a listed name may hold the numbers (7z, bz2), or a
//   chain may start right before them, where their run of letters and
//   digits follows a dot. The plain path does not look for the names
//   themselves.
// - The epoch: digits that open both strings may be the epoch of one only.
//   That is known only once the numbers are read, so compare_by_values()
//   asks it then (epoch_in_doubt()).
inline bool values_decide(Pair p, std::size_t num, bool plain) noexcept {
  if (num == 0) return true;
  std::size_t run = num;
  if (!plain && is_alpha(p.x[num - 1])) run = run_start(p.x, num);
  return !may_follow_extension_dot(p, run) || (!plain && before_listed_names(p, run) == run);
}

// Whether numbers that open both strings and stop at `e` and `f` may be the
// epoch of one only. A number read only in part is the longer one, which
// is the larger as an epoch or not; only one read whole can turn the order.
inline bool epoch_in_doubt(Pair p, std::size_t num, const Byte *e, const Byte *f) noexcept {
  return num == 0 && p.x == p.a && p.y == p.b && is_epoch_mark(*e) != is_epoch_mark(*f);
}

// Compares the pair after numbers of the same value that end at `e` and
// `f`, all zeros when `zero`. Out of line: the common pairs' path stays
// short.
__attribute__((noinline)) int compare_after_numbers(Pair p, const Byte *e, const Byte *f,
                                                    bool zero) noexcept {
  return compare_components(Cursor::after_number(p.a, e, zero, p.flags),
                            Cursor::after_number(p.b, f, zero, p.flags));
}

// Compares the pair by the numbers that both strings hold from `num` bytes
// past x and y on, if their values decide: then true, and the answer in
// `result`.
inline bool compare_by_values(Pair p, std::size_t num, bool plain, int &result) noexcept {
  if (!values_decide(p, num, plain)) return false;
  const Byte *e = past_zeros(p.x + num);
  const Byte *f = past_zeros(p.y + num);
  int r = compare_numbers(e, f);
  if (epoch_in_doubt(p, num, e, f)) return false;
  result = r != 0 ? r : compare_after_numbers(p, e, f, all_zeros(p.x + num, e));
  return true;
}

// The number of bytes that `x` and `y` have in common from their starts on,
// up to the first that differs or is not plain (the end, or a letter).
// Two bytes a turn, each read only when the one before it is common and
// plain: where the compiler lays out a loop of one byte a turn moves with
// any change to the file, and some layouts run it at half the speed.
inline std::size_t plain_prefix(const Byte *x, const Byte *y) noexcept {
  for (std::size_t i = 0;; i += 2) {
    if (x[i] != y[i] || !kPlain[x[i]]) return i;
    if (x[i + 1] != y[i + 1] || !kPlain[x[i + 1]]) return i + 1;
  }
}

// The number of bytes that `x` and `y` have in common from `i` on, up to
// the first that differs or the end; two a turn, as plain_prefix().
inline std::size_t common_prefix(const Byte *x, const Byte *y, std::size_t i) noexcept {
  for (;; i += 2) {
    if (x[i] != y[i] || x[i] == '\0') return i;
    if (x[i + 1] != y[i + 1] || x[i + 1] == '\0') return i + 1;
  }
}

int compare_past_v(const Byte *a, const Byte *b, int flags) noexcept;

// Compares a pair whose first `common` bytes from x and y on are the same,
// where the plain path did not decide. Out of line: the common pairs' path
// stays short, and keeps no more than it needs.
__attribute__((noinline)) int compare_elsewhere(Pair p, std::size_t common) noexcept {
  std::size_t i = common_prefix(p.x, p.y, common);
  if (p.x[i] == p.y[i]) return 0;
  std::size_t num = number_start(p.x, i);
  if (is_digit(p.x[num]) && is_digit(p.y[num])) {
    int r;
    if (compare_by_values(p, num, false, r)) return r;
  }
  return compare_from(p, restart_point(p, i));
}

// Compares the pair from x and y on, where they hold the same bytes.
__attribute__((always_inline)) inline int compare_after_prefix(Pair p) noexcept {
  std::size_t i = plain_prefix(p.x, p.y);
  if (p.x[i] == p.y[i]) return p.x[i] == '\0' ? 0 : compare_elsewhere(p, i);
  std::size_t num = number_start(p.x, i);
  if (is_digit(p.x[num]) && is_digit(p.y[num])) {
    int r;
    if (compare_by_values(p, num, true, r)) return r;
    return compare_elsewhere(p, num);
  }
  if (i == 0 && p.x == p.a && p.y == p.b) return compare_past_v(p.a, p.b, p.flags);
  return compare_elsewhere(p, i);
}

// Compares two strings read with the same flags whose first bytes differ,
// one of them not a digit: past a v that one or both skip, they may read
// alike. Out of line: the common pairs' path stays short.
__attribute__((noinline)) int compare_past_v(const Byte *a, const Byte *b, int flags) noexcept {
  Pair p{a, b, a + opens_with_v(a), b + opens_with_v(b), flags};
  // Past a skipped v both read alike, unless the other string opens with an
  // epoch, which a string that opens with v never has.
  if ((p.x == a && p.y == b) || (p.x == a && epoch_mark(a) != nullptr) ||
      (p.y == b && epoch_mark(b) != nullptr)) {
    return compare_whole(a, b, flags, flags);
  }
  return compare_after_prefix(p);
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags, int v2_flags) noexcept {
  const Byte *a = reinterpret_cast<const Byte *>(v1);
  const Byte *b = reinterpret_cast<const Byte *>(v2);
  v1_flags &= kFlagBits;
  v2_flags &= kFlagBits;
  if (v1_flags != v2_flags) return compare_whole(a, b, v1_flags, v2_flags);
  return compare_after_prefix(Pair{a, b, a, b, v1_flags});
}
