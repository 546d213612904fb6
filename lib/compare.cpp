// The version ordering: each string is read as a sequence of components (its
// epoch, numbers, words, revision, plus and tilde marks, an end mark), each
// component gets a rank, and the first pair of components that differ decides.
//
// Map. The reader (Cursor, step(), classify(), next()) holds every rule of
// the ordering, each once. The rest only decides where reading starts and
// what the reader knows there.
//
// Strings read with different flags are read whole, from their starts. With
// the same flags, the bytes before the first difference are common, and so
// is what the reader makes of them, but for three things:
// - A component's kind may depend on the byte after it (a hyphen before a
//   digit, a letter suffix before a digit), which may be the differing byte.
//   So reading restarts at the start of the run of letters and digits that
//   holds the difference, or at the hyphen before it.
// - An extension chain makes a string end early, decided by its whole tail.
//   A chain that starts before the difference in either string runs through
//   the byte before it, so the run of letters and digits there is a listed
//   name after a dot, in that string. Only then does reading restart
//   earlier, at the first dot of the listed names before the difference,
//   and each string's reader finds its own chain. Plus marks and the tilde
//   after them ("+~") are single bytes that decide by themselves, so they
//   need no care here.
// - The epoch and the skipped v are decided by the opening bytes. A restart
//   past the opening digits has both openings in common; one at the start
//   reads both strings whole, except past a v that the other string lacks.
// The reader's state at the restart is found by reading the common bytes of
// one string from right after the last number before it, where all that
// counts of the zeros is whether one is pending and a hyphen after it may
// open a revision. What lies further behind (a plus mark, the revision mark
// a run of letters, digits and dots began at) the reader finds when a word
// needs it, by searching back or reading from the start.
//
// Most pairs differ first in a number that both hold (1.2 and 1.10, rc2 and
// rc10), or right after one (1.2 and 1.2.1). Two values that differ decide,
// whatever came before: a value beats a zero, and it beats the pre-release
// word that a dropped zero leaves. Equal values read on after the numbers.
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

// Case-insensitive match of the `n` bytes at `w` against a lower-case name.
bool word_is(const Byte *w, std::size_t n, std::string_view name) noexcept {
  if (n != name.size()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (fold(w[i]) != static_cast<Byte>(name[i])) return false;
  }
  return true;
}

bool is_epoch_mark(Byte c) noexcept { return c == ':' || c == '!'; }

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
// since most bytes asked about are the digits of a number after a dot.
// `opens` says begin != end in one load: comparing the two cost sorts of
// 200,000 lines 1% more library instructions.
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
    while (*p == '0') ++p;
    c.p_ = p;
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

// Compares `a` and `b`, read with the same flags, from `at` bytes past `x`
// in `a` and `y` in `b`, where their readings are in the same state and up
// to which they hold the same bytes.
int compare_from(const Byte *a, const Byte *b, const Byte *x, const Byte *y, std::size_t at,
                 int flags) noexcept {
  if (at == 0) return compare_whole(a, b, flags, flags);
  Cursor ca = Cursor::read_to(a, x + at, flags);
  return compare_components(ca, ca.moved_to(b, y + at));
}

// Compares `a` from `p` and `b` from `q`, right after numbers of the same
// value that end their common bytes; the one in `a` begins at `num`.
int compare_after_numbers(const Byte *a, const Byte *b, const Byte *num, const Byte *p,
                          const Byte *q, int flags) noexcept {
  bool zero = all_zeros(num, p);
  return compare_components(Cursor::after_number(a, p, zero, flags),
                            Cursor::after_number(b, q, zero, flags));
}

// The first dot of the listed names that end just before `run`, where one
// string or the other has a listed name; else `run`.
std::size_t before_listed_names(const Byte *x, const Byte *y, std::size_t run) noexcept {
  if (extension_end(x + run) == nullptr && extension_end(y + run) == nullptr) return run;
  std::size_t at = run - 1;
  for (;;) {
    std::size_t name = run_start(x, at);
    if (name == at || name == 0 || x[name - 1] != '.' || extension_end(x + name) == nullptr) {
      return at;
    }
    at = name - 1;
  }
}

// Whether a listed name may follow a dot at `run` in either string.
inline bool may_follow_extension_dot(const Byte *x, const Byte *y, std::size_t run) noexcept {
  return run > 0 && x[run - 1] == '.' &&
         (may_open_extension(x + run) || may_open_extension(y + run));
}

// Where reading must restart, at or before `run`, the start of the run of
// letters and digits that holds the byte before the difference, so that it
// meets every extension chain that may start before the difference.
inline std::size_t before_extensions(const Byte *x, const Byte *y, std::size_t run) noexcept {
  return may_follow_extension_dot(x, y, run) ? before_listed_names(x, y, run) : run;
}

// Whether the strings at `x` and `y` differ; if so, `i` is the number of
// bytes they have in common. Two bytes a turn, each read only when the one
// before it is common and not the end: one byte a turn ran at half its
// speed when the compiler laid the loop across two 32-byte blocks of code,
// as it came to with the third edition (1 MiB of common bytes in 0.58 ms
// against 0.30 ms), and where the loop lands moves with any change to the
// file.
inline bool first_difference(const Byte *x, const Byte *y, std::size_t &i) noexcept {
  for (i = 0;; i += 2) {
    if (x[i] != y[i] || x[i] == '\0') break;
    if (x[i + 1] != y[i + 1] || x[i + 1] == '\0') {
      ++i;
      break;
    }
  }
  return x[i] != y[i];
}

// Compares `a` and `b`, read with the same flags, whose readings are in the
// same state at `x` and `y` and whose first `i` bytes from there on are the
// same, where the difference is not in a number that both hold.
int compare_elsewhere(const Byte *a, const Byte *b, const Byte *x, const Byte *y, std::size_t i,
                      int flags) noexcept {
  std::size_t run = run_start(x, i);
  std::size_t at = before_extensions(x, y, run);
  // Whether a hyphen is a revision mark depends on the byte after it.
  if (at == run && at > 0 && x[at - 1] == '-') --at;
  return compare_from(a, b, x, y, at, flags);
}

// As compare_elsewhere(), where both hold a number that begins `num` bytes
// on and holds the difference or ends at it, and no extension chain starts
// before it. Two values that differ decide, whatever came before; equal ones
// leave both read up to a known state.
inline int compare_numbers_at(const Byte *a, const Byte *b, const Byte *x, const Byte *y,
                              std::size_t num, int flags) noexcept {
  const Byte *p = x + num;
  const Byte *q = y + num;
  while (*p == '0') ++p;
  while (*q == '0') ++q;
  int r = compare_numbers(p, q);
  // Digits that open both strings may be the epoch of one only. A number
  // read only in part is the longer one, which is the larger as an epoch or
  // not; only one read whole can turn the order.
  if (num == 0 && x == a && y == b && is_epoch_mark(*p) != is_epoch_mark(*q)) {
    return compare_whole(a, b, flags, flags);
  }
  if (r != 0) return r;
  return compare_after_numbers(a, b, x + num, p, q, flags);
}

// compare_numbers_at() where a dot before the run that holds the numbers,
// which starts at `run`, may open an extension chain in either string. A
// function of its own, which the compiler leaves out of line: with its body
// in compare_at_numbers() the common pairs took 25% more instructions.
int compare_numbers_after_dot(const Byte *a, const Byte *b, const Byte *x, const Byte *y,
                              std::size_t i, std::size_t num, std::size_t run, int flags) noexcept {
  if (before_listed_names(x, y, run) != run) return compare_elsewhere(a, b, x, y, i, flags);
  return compare_numbers_at(a, b, x, y, num, flags);
}

// As compare_elsewhere(), where both hold a number that begins `num` bytes
// on and holds the difference or ends at it.
inline int compare_at_numbers(const Byte *a, const Byte *b, const Byte *x, const Byte *y,
                              std::size_t i, std::size_t num, int flags) noexcept {
  // A listed name may hold the numbers only after a dot or a letter.
  if (num > 0 && (x[num - 1] == '.' ? may_open_extension(x + num) || may_open_extension(y + num)
                                    : is_alpha(x[num - 1]))) {
    std::size_t run = run_start(x, num);
    if (may_follow_extension_dot(x, y, run)) {
      return compare_numbers_after_dot(a, b, x, y, i, num, run, flags);
    }
  }
  return compare_numbers_at(a, b, x, y, num, flags);
}

// Compares `a` and `b` as compare_elsewhere() does, wherever they differ.
inline int compare_after_prefix(const Byte *a, const Byte *b, const Byte *x, const Byte *y,
                                std::size_t i, int flags) noexcept {
  std::size_t num = number_start(x, i);
  if (is_digit(x[num]) && is_digit(y[num])) return compare_at_numbers(a, b, x, y, i, num, flags);
  return compare_elsewhere(a, b, x, y, i, flags);
}

// Compares two strings read with the same flags that differ in their first
// byte, one of them not a digit. Out of line: inlined into
// quenorbial_compare4(), it cost sorts 2% (registry-like lines) and 4%
// (Debian-like) more instructions, all outside it.
__attribute__((noinline)) int compare_first_bytes(const Byte *a, const Byte *b,
                                                  int flags) noexcept {
  const Byte *x = a + opens_with_v(a);
  const Byte *y = b + opens_with_v(b);
  // Past a skipped v both read alike, unless the other string opens with an
  // epoch, which a string that opens with v never has.
  if ((x == a && y == b) || (x == a && epoch_mark(a) != nullptr) ||
      (y == b && epoch_mark(b) != nullptr)) {
    return compare_whole(a, b, flags, flags);
  }
  std::size_t i;
  if (!first_difference(x, y, i)) return 0;
  return compare_after_prefix(a, b, x, y, i, flags);
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags, int v2_flags) noexcept {
  const Byte *a = reinterpret_cast<const Byte *>(v1);
  const Byte *b = reinterpret_cast<const Byte *>(v2);
  v1_flags &= kFlagBits;
  v2_flags &= kFlagBits;
  if (v1_flags != v2_flags) return compare_whole(a, b, v1_flags, v2_flags);
  std::size_t n;
  if (!first_difference(a, b, n)) return 0;
  // compare_after_prefix() with the first bytes' case after the numbers'
  // one: through it, the common pairs took 7% more instructions.
  std::size_t num = number_start(a, n);
  if (is_digit(a[num]) && is_digit(b[num])) return compare_at_numbers(a, b, a, b, n, num, v1_flags);
  if (n == 0) return compare_first_bytes(a, b, v1_flags);
  return compare_elsewhere(a, b, a, b, n, v1_flags);
}
