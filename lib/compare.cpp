// The version ordering: each string is read as a sequence of components (its
// epoch, numbers, words, revision, hyphen, plus and tilde marks, an end
// mark), each component gets a rank, and the first pair of components that
// differ decides.
//
// Map, from the bottom up; each part relies only on those above it.
// - names.h: the character tests and the names the ordering lists.
// - The reader: Cursor, step(), classify() and next(). It holds every rule
//   of the ordering, each once, and reads one string from a point where it
//   knows what the rules need of the bytes behind: from the start, right
//   after a number (Cursor::after_number()), or where another cursor stood
//   in a string alike up to there (Cursor::moved_to()). What lies further
//   behind (a plus mark, the revision mark a run began at, a release word
//   dropped, a dotted number, an earlier hyphen in a name) or ahead (a later
//   hyphen) it looks for only when a component needs it.
// - compare_components(): the first pair of components that differ
//   decides; a hyphen is told to be a revision or a hyphen mark only where
//   that decides. compare_whole() reads both strings from their starts,
//   each with its own flags, and is right for any pair.
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
//     state right after them (compare_by_values()). The hazards that only
//     the values read tell, the epoch and the last hyphen, it leaves to
//     epoch_in_doubt() and hyphen_in_doubt(), asked once they are read.
//   - What is known of the common bytes travels as a Common: where the last
//     hyphen among them stands, and whether a platform token may open there.
//     plain_prefix() reads them while they hold no letter and no hyphen,
//     the case where values_decide() has least to ask;
//     compare_past_hyphens() takes a pair whose common bytes hold hyphens
//     but no letter, compare_elsewhere() every other pair, and
//     compare_past_v() a pair whose first bytes differ by a v that is
//     skipped.
#include <cstddef>
#include <string_view>

#include "names.h"
#include "quenorbial.h"

namespace {

// Ranks in ascending order. kMark is a hyphen that is a revision or a hyphen
// mark, not yet told which (both come before a zero); kNone is what is no
// component: a separator, or a release word spelled out.
enum Rank : Byte {
  kTilde, kPre, kEnd, kRevision, kSuffix, kPlus, kHyphen, kMark, kZero, kPost, kNonzero, kWord,
  kNone
};

constexpr int kFlagBits = P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE;

// A set of bytes, as a table.
struct ByteSet {
  bool has[256];
  constexpr bool operator[](Byte c) const noexcept { return has[c]; }
};

// The set of the bytes of `bytes`.
constexpr ByteSet byte_set(std::string_view bytes) noexcept {
  ByteSet set{};
  for (char c : bytes) set.has[static_cast<Byte>(c)] = true;
  return set;
}

// The bytes that the fast path passes over without a second look: all but
// the end, letters and the hyphen, which it notes.
constexpr ByteSet plain_bytes() noexcept {
  ByteSet set{};
  for (int c = 1; c < 256; ++c) set.has[c] = !is_alpha(static_cast<Byte>(c)) && c != '-';
  return set;
}
constexpr ByteSet kPlain = plain_bytes();

// The bytes that the search behind a word stops at: the letters, which may
// spell a release word, and the bytes of a plus mark.
constexpr ByteSet plus_or_letter() noexcept {
  ByteSet set = byte_set("+^");
  for (int c = 1; c < 256; ++c) set.has[c] = set.has[c] || is_alpha(static_cast<Byte>(c));
  return set;
}
constexpr ByteSet kPlusOrLetter = plus_or_letter();

// The separators that a platform token's cut takes away before it.
constexpr bool is_cut_separator(Byte c) noexcept { return c == '.' || c == '-' || c == '_'; }

// The bytes of a revision's run: letters, digits and dots.
constexpr ByteSet run_bytes() noexcept {
  ByteSet set = byte_set(".");
  for (int c = 1; c < 256; ++c) set.has[c] = set.has[c] || is_alnum(static_cast<Byte>(c));
  return set;
}
constexpr ByteSet kRunByte = run_bytes();

// The bytes that end an epoch, as a table: the numbers' path asks it of
// both strings on most pairs that differ in their first number.
constexpr ByteSet kEpochMark = byte_set(":!");
bool is_epoch_mark(Byte c) noexcept { return kEpochMark[c]; }

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

// Whether the hyphen at `h` is directly followed by a digit: only such a
// hyphen opens a revision, and a name's first one keeps it open.
constexpr bool before_digit(const Byte *h) noexcept { return is_digit(h[1]); }

// Whether the byte at `p` in the string `s` is a plus mark.
bool is_plus_mark(const Byte *s, const Byte *p) noexcept {
  return (*p == '+' || *p == '^') && p != s;
}

// One past the first dotted number (a digit, a dot and a digit) in the
// string `s`, or one past its end when it has none.
const Byte *first_dotted_number(const Byte *s) noexcept {
  for (const Byte *q = s;; ++q) {
    if (*q == '\0') return q + 1;
    if (is_digit(q[0]) && q[1] == '.' && is_digit(q[2])) return q + 3;
  }
}

// Where a string read as ending early ends: one byte that reads as the end.
constexpr Byte kCut[1] = {'\0'};

// A word, as the component it is read as.
struct Word {
  const Byte *text;  // kPost: compared in any case; kSuffix and kWord: as written
  std::size_t size;
  Byte key;  // kPre: its order; the others: their first byte as compared
};

// The word that a post-release p stands for with P_LETTER_AS_PATCH.
constexpr Byte kPatch[] = {'p', 'a', 't', 'c', 'h'};

// The words `a` and `b` compared byte by byte, each byte through `by`, a
// word that is the start of another coming first.
template <typename By>
int compare_words(const Word &a, const Word &b, By by) noexcept {
  std::size_t n = a.size < b.size ? a.size : b.size;
  for (std::size_t i = 0; i < n; ++i) {
    Byte x = by(a.text[i]);
    Byte y = by(b.text[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size == b.size ? 0 : a.size < b.size ? -1 : 1;
}

// Where the run of letters, digits and dots that is being read stands to a
// revision mark: whether it began right after one, or not known yet.
enum class Run : Byte { kPlain, kRevision, kUnknown };

// Whether a release word was dropped after a number of the version: no, yes,
// not known yet, or not known but for a release word that stands behind.
enum class Released : Byte { kNo, kYes, kUnknown, kMaybe };

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
    c.released_ = Released::kNo;
    return c;
  }

  // A cursor at `p` in `s`, right after a number (of value 0 when `zero`),
  // in a string read with the same flags as the other one and alike up to
  // that number. Zeros before it no longer count: all that can turn an
  // order is whether one is still to be compared. What lies further behind
  // it finds when a component needs it.
  static Cursor after_number(const Byte *s, const Byte *p, bool zero, int flags) noexcept {
    Cursor c(s, p, flags, is_epoch_mark(*p) ? epoch_mark(s) : nullptr);
    c.zeros_ = zero ? 1 : 0;
    c.versioned_ = true;  // unless it is the epoch, which its mark says next
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
    c.mark_ = nullptr;
    // A dotted number found ahead of the common bytes is this string's own.
    c.dotted_ = dotted_ != nullptr && dotted_ <= p_ ? p - (p_ - dotted_) : nullptr;
    return c;
  }

  // What the hyphen of the last kMark is: kRevision or kHyphen.
  Rank mark_kind() noexcept;

  friend Rank step(Cursor &c, Word &word, const Byte *stop) noexcept;
  friend Rank next(Cursor &c, Word &word, std::size_t &zeros) noexcept;
  friend void advance(Cursor &c, const Byte *to) noexcept;
  friend int compare_components(Cursor &a, Cursor &b) noexcept;

 private:
  Cursor(const Byte *s, const Byte *p, int flags, const Byte *epoch) noexcept
      : p_(p), begin_(s), chain_from_(s), unscanned_(p), epoch_mark_(epoch), flags_(flags) {}

  bool debian() const noexcept { return (flags_ & ALPHA_AS_POST_RELEASE) != 0; }
  Rank classify(const Byte *w, std::size_t n, Word &word) noexcept;
  bool is_mark(const Byte *h) const noexcept;
  bool plus_behind() noexcept;
  bool in_revision(const Byte *w) noexcept {
    if (run_ == Run::kUnknown) find_run(w);
    return run_ == Run::kRevision;
  }
  void find_run(const Byte *w) noexcept;
  bool released_behind(const Byte *w) noexcept;
  Released released_from_start(const Byte *w) const noexcept;
  bool chain_at(const Byte *dot) noexcept;
  bool cut_at(const Byte *t) noexcept;
  bool hyphen_ahead(const Byte *q) noexcept;
  bool name_exception(const Byte *h) const noexcept;

  const Byte *p_;           // the next byte to read
  const Byte *begin_;       // the string's first byte
  const Byte *chain_from_;  // no extension chain starts at a dot before this
  const Byte *unscanned_;   // [begin_, unscanned_) is not yet searched (plus_behind())
  const Byte *epoch_mark_;  // the ':' or '!' after the epoch, or null
  const Byte *mark_ = nullptr;   // the hyphen of the last kMark
  const Byte *dotted_ = nullptr;  // first_dotted_number(), or null before it is needed
  int flags_;
  std::size_t zeros_ = 0;  // zeros read and not yet compared
  // What a hyphen after it needs to be a mark: a number of the version
  // behind, or with ALPHA_AS_POST_RELEASE, any component of the version.
  bool versioned_ = false;
  bool after_pre_ = false;   // the last component is a pre-release word
  bool after_plus_ = false;  // a plus mark lies behind
  Run run_ = Run::kUnknown;
  Released released_ = Released::kUnknown;
};

// Ranks the word of `n` letters at `w` and sets `word`, its order within the
// rank; kNone for a release spelled out. The first rule that applies wins.
Rank Cursor::classify(const Byte *w, std::size_t n, Word &word) noexcept {
  word = {w, n, w[0]};
  // Debian's reading: a word glued to a number is a suffix, any other comes
  // after every number; both compare by their bytes as written.
  if (debian()) return w != begin_ && is_digit(w[-1]) ? kSuffix : kWord;
  word.key = fold(w[0]);
  bool p_is_patch = n == 1 && word.key == 'p' && (flags_ & P_LETTER_AS_PATCH) != 0;
  if (p_is_patch) word = {kPatch, sizeof kPatch, 'p'};
  // 1. A letter suffix: one letter glued to a number and not before a digit.
  if (n == 1 && w != begin_ && is_digit(w[-1]) && !is_digit(w[1])) return kPost;
  // 2. The post words; 3. p as patch.
  if (is_post_word(w, n) || p_is_patch) return kPost;
  // 4. Local builds, repacks and snapshots come after the version they
  // extend; 5. Ubuntu's and RPM's rebuilds after the revision they rebuild.
  if (plus_behind() || in_revision(w)) return kPost;
  // 6. After a release word dropped after a number, a word extends the release.
  if (released_behind(w)) return kPost;
  bool release = is_release_word(w, n);
  bool dev = n >= 3 && word_is(w, 3, "dev");
  // 7. A word right after a pre-release word extends it, but for these.
  if (after_pre_ && versioned_ && !release && !dev && !word_is(w, n, "snapshot")) return kPost;
  // 8. A release spelled out holds no place.
  if (release) {
    if (versioned_) released_ = Released::kYes;
    return kNone;
  }
  // 9. Any other word is a pre-release.
  if (dev) {
    word.key = 0;  // dev before alpha
  } else if (word_is(w, n, "cr")) {
    word.key = 'r';  // a candidate release is an rc
  }
  return kPre;
}

// Whether the hyphen at `h` is a mark. "1.0-rc-1" is "1.0-rc1",
// "release-3.0" is "3.0" and in "git-2.44.0.rc0" the rc0 is a pre-release:
// a hyphen opens a revision only before a digit, after a number of the
// version and not after a pre-release word. Debian's reading makes every
// hyphen after a component of the version a mark.
bool Cursor::is_mark(const Byte *h) const noexcept {
  if (debian()) return versioned_;
  return versioned_ && !after_pre_ && before_digit(h);
}

// Whether a plus mark lies behind. The bytes the cursor did not read are
// searched only when a word needs it, and then once, for a release word too:
// a word after a plus mark needs no release word behind it.
bool Cursor::plus_behind() noexcept {
  if (unscanned_ == begin_) return after_plus_;
  bool release = false;
  for (const Byte *q = unscanned_; q != begin_;) {
    Byte c = *--q;
    if (!kPlusOrLetter[c]) continue;
    if (is_alpha(c)) {
      const Byte *end = q + 1;
      while (q != begin_ && is_alpha(q[-1])) --q;
      release = release || is_release_word(q, static_cast<std::size_t>(end - q));
    } else if (q != begin_) {
      after_plus_ = true;
      break;
    }
  }
  unscanned_ = begin_;
  if (released_ == Released::kUnknown) released_ = release ? Released::kMaybe : Released::kNo;
  return after_plus_;
}

// Whether a release word was dropped after a number of the version before
// `w`, read from the start. Out of line: it is seldom needed.
__attribute__((noinline)) Released Cursor::released_from_start(const Byte *w) const noexcept {
  Cursor c = at_start(begin_, flags_);
  advance(c, w);
  return c.released_;
}

// Whether a release word dropped after a number of the version lies behind
// the word at `w`, whose cursor has searched behind it (plus_behind()).
// Where it did not read, the string is read from the start, and only when
// a release word stands there.
bool Cursor::released_behind(const Byte *w) noexcept {
  if (released_ == Released::kMaybe) released_ = released_from_start(w);
  return released_ == Released::kYes;
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

// Whether the string is read as ending before the separator at `t` - 1, for
// the platform token at `t`, a letter: one with a dotted number before that
// separator. The first such token is met first, so the first one cuts.
bool Cursor::cut_at(const Byte *t) noexcept {
  if (!may_open_platform(t)) return false;
  const Byte *end = t;
  while (is_alnum(*end)) ++end;
  if (!is_platform_token(t, end)) return false;
  if (dotted_ == nullptr) dotted_ = first_dotted_number(begin_);
  return dotted_ <= t - 1;
}

// Whether a hyphen stands at or after `q` in what is left of the string.
// A run of separators before a platform token that cuts the string holds
// none that is left.
bool Cursor::hyphen_ahead(const Byte *q) noexcept {
  for (;; ++q) {
    if (*q == '\0') return false;
    if (!is_cut_separator(*q)) continue;
    const Byte *r = q;
    bool hyphen = false;
    for (; is_cut_separator(*r); ++r) hyphen = hyphen || *r == '-';
    if (!debian() && is_alpha(*r) && cut_at(r)) return false;
    if (hyphen) return true;
    q = r - 1;
  }
}

// Whether the mark at `h` opens a revision for a name: in a version part
// that begins with a letter (past the epoch or the skipped v), the first
// hyphen before a digit (log4j-2.0-rc1 reads like log4j-2.0 up to its rc1).
bool Cursor::name_exception(const Byte *h) const noexcept {
  const Byte *mark = epoch_mark(begin_);
  const Byte *part = mark != nullptr ? mark + 1 : begin_ + (opens_with_v(begin_) ? 1 : 0);
  if (!is_alpha(*part) || !before_digit(h)) return false;
  for (const Byte *q = part; q != h; ++q) {
    if (*q == '-' && before_digit(q)) return false;
  }
  return true;
}

// Debian's revision is what follows the last hyphen: a mark with another
// hyphen after it in what is left of the string is a hyphen mark, but for
// the first one in a name.
Rank Cursor::mark_kind() noexcept {
  return hyphen_ahead(mark_ + 1) && !name_exception(mark_) ? kHyphen : kRevision;
}

// Reads one token: a run of digits, a run of letters or one other byte, and
// returns its rank, kNone for no component. Dots before it that no extension
// may follow are passed over, but not the one at `stop`. A kNonzero number
// is left at its first significant digit, for compare_numbers(); the end is
// not passed, so it is read again and again.
inline Rank step(Cursor &c, Word &word, const Byte *stop = nullptr) noexcept {
  const Byte *p = c.p_;
  while (*p == '.' && p != stop && !may_open_extension(p + 1)) ++p;
  if (p == stop) {
    c.p_ = p;
    return kNone;
  }
  Byte ch = *p;
  if (is_digit(ch)) {
    c.versioned_ = true;
    c.after_pre_ = false;
    c.p_ = p = past_zeros(p);
    return is_digit(*p) ? kNonzero : kZero;
  }
  if (is_alpha(ch)) {
    // A download's platform suffix is not read (but by Debian's reading).
    if (p != c.begin_ && is_cut_separator(p[-1]) && !c.debian() && c.cut_at(p)) {
      c.p_ = kCut;
      return kEnd;
    }
    const Byte *w = p;
    while (is_alpha(*++p)) {
    }
    c.p_ = p;
    Rank r = c.classify(w, static_cast<std::size_t>(p - w), word);
    if (r != kNone) {
      c.after_pre_ = r == kPre;
      c.versioned_ = c.versioned_ || c.debian();
    }
    return r;
  }
  c.p_ = p + 1;
  switch (ch) {
    case '.':  // by far the most common separator; it keeps a revision's run
      if (may_open_extension(p + 1) && p >= c.chain_from_ && c.chain_at(p)) return kEnd;
      return kNone;
    case '\0': c.p_ = p; return kEnd;
    case '-':
      if (c.is_mark(p)) {
        c.mark_ = p;
        c.run_ = Run::kRevision;
        c.after_pre_ = false;
        return kMark;
      }
      break;
    case '~':
      if (p != c.begin_) {
        c.run_ = Run::kPlain;
        c.after_pre_ = false;
        c.versioned_ = c.versioned_ || c.debian();
        return kTilde;
      }
      break;
    case '+':
    case '^':
      if (is_plus_mark(c.begin_, p)) {
        c.run_ = Run::kPlain;
        c.after_pre_ = false;
        c.versioned_ = c.versioned_ || c.debian();
        c.after_plus_ = true;
        return kPlus;
      }
      break;
    case ':':
    case '!':
      if (p == c.epoch_mark_) c.versioned_ = false;  // the epoch is no number of the version
      break;
    default: break;
  }
  c.run_ = Run::kPlain;
  return kNone;
}

// Reads the zeros up to the next other component, counts them into `zeros`
// and returns that component. Zeros directly before a pre-release word are
// padding ("1.0rc1" equals "1rc1"), so there the count is 0.
inline Rank next(Cursor &c, Word &word, std::size_t &zeros) noexcept {
  std::size_t n = c.zeros_;
  c.zeros_ = 0;
  Rank r;
  for (;;) {
    r = step(c, word);
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
    Word word;
    Rank r = step(c, word, to);
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
// the string is read up to the run. Out of line: it is seldom needed.
__attribute__((noinline)) void Cursor::find_run(const Byte *w) noexcept {
  const Byte *run = w;
  while (run != begin_ && kRunByte[run[-1]]) --run;
  // Only a hyphen before a digit can be a revision mark.
  run_ = run != begin_ && run[-1] == '-' && before_digit(run - 1)
             ? read_to(begin_, run, flags_).run_
             : Run::kPlain;
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

// Whether a hyphen of one string, met by the component `other` of the
// other, must be told to be a revision or a hyphen mark: both kinds order
// alike against every other rank.
constexpr bool tells_marks_apart(Rank other) noexcept {
  return other >= kRevision && other <= kMark;
}

// Compares the components of `a` and `b` from where the cursors stand, and
// moves them on. By reference: a cursor is too large to be copied on every
// call.
int compare_components(Cursor &a, Cursor &b) noexcept {
  for (;;) {
    Word wa;
    Word wb;
    std::size_t za;
    std::size_t zb;
    Rank ra = next(a, wa, za);
    Rank rb = next(b, wb, zb);
    // Where one string has run out of zeros, its component meets a zero.
    if (za != zb) {
      Rank met = za < zb ? ra : rb;
      return (met < kZero) == (za < zb) ? -1 : 1;
    }
    if (ra == kMark) ra = tells_marks_apart(rb) ? a.mark_kind() : kRevision;
    if (rb == kMark) rb = tells_marks_apart(ra) ? b.mark_kind() : kRevision;
    if (ra != rb) return ra < rb ? -1 : 1;
    switch (ra) {
      case kNonzero:
        if (int r = compare_numbers(a.p_, b.p_)) return r;
        break;
      case kPre:
        if (wa.key != wb.key) return wa.key < wb.key ? -1 : 1;
        break;
      case kPost:
        if (int r = compare_words(wa, wb, fold)) return r;
        break;
      case kSuffix:
      case kWord:
        if (int r = compare_words(wa, wb, [](Byte c) { return c; })) return r;
        break;
      case kEnd: return 0;
      default: break;
    }
  }
}

// Compares two strings from their starts, each read with its own flags.
int compare_whole(const Byte *a, const Byte *b, int a_flags, int b_flags) noexcept {
  Cursor ca = Cursor::at_start(a, a_flags);
  Cursor cb = Cursor::at_start(b, b_flags);
  return compare_components(ca, cb);
}

// Two strings read with the same flags, and where the fast path reads each
// from: both strings' readings are in the same state at x and at y.
struct Pair {
  const Byte *a;  // the strings
  const Byte *b;
  const Byte *x;  // a, or a past a v that only a string opening with v skips
  const Byte *y;  // b, or b past such a v
  int flags;

  bool debian() const noexcept { return (flags & ALPHA_AS_POST_RELEASE) != 0; }
};

// Compares the pair from `at` bytes past x and y, where both readings are in
// the same state and up to which they hold the same bytes; from the strings'
// starts when `at` is 0.
int compare_from(Pair p, std::size_t at) noexcept {
  if (at == 0) return compare_whole(p.a, p.b, p.flags, p.flags);
  Cursor ca = Cursor::read_to(p.a, p.x + at, p.flags);
  Cursor cb = ca.moved_to(p.b, p.y + at);
  return compare_components(ca, cb);
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

constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

// What the fast path knows of the common bytes it has read: where the last
// hyphen among them stands, and whether a platform token may open among
// them (a letter right after a '.', '-' or '_').
struct Common {
  std::size_t hyphen = kNowhere;
  bool tokens = false;
};

// Whether a platform token that opens in the common bytes [0, `end`) of a
// pair that differs at `i`, and ends before the difference, cuts both
// strings: one after a dotted number.
bool cut_behind(Pair p, std::size_t end, std::size_t i) noexcept {
  const Byte *dotted = nullptr;  // first_dotted_number(), once a token needs it
  for (std::size_t k = 1; k < end; ++k) {
    const Byte *t = p.x + k;
    if (!is_cut_separator(t[-1]) || !is_alpha(*t) || !may_open_platform(t)) continue;
    std::size_t e = k;
    while (e < i && is_alnum(p.x[e])) ++e;
    if (e == i || !is_platform_token(t, p.x + e)) continue;
    if (dotted == nullptr) dotted = first_dotted_number(p.x);
    if (dotted <= t - 1) return true;
  }
  return false;
}

// The last hyphen in the common bytes before `end`, of which the last one
// known is at `hyphen`.
std::size_t last_hyphen(Pair p, std::size_t end, std::size_t hyphen) noexcept {
  if (hyphen == kNowhere || hyphen < end) return hyphen;
  while (end > 0) {
    if (p.x[--end] == '-') return end;
  }
  return kNowhere;
}

// Whether the hyphen at `h` in the common bytes of a pair that differs at
// `i` may be a mark: a revision mark stands before a digit.
bool may_be_mark(Pair p, std::size_t h, std::size_t i) noexcept {
  return p.debian() || h + 1 == i || before_digit(p.x + h);
}

// The value for "both strings are read as ending alike before the
// difference": they are equal.
constexpr std::size_t kEqual = kNowhere;

// Where reading restarts for a pair whose first `i` bytes from x and y on
// are the same, or kEqual. Behind the difference both readings are alike,
// but for what the bytes at and after it decide of the components before
// it. Each such hazard, with the rule it comes from, in the order they are
// met:
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
// 3. The platform suffix: the first platform token after a dotted number
//    and a '.', '-' or '_' ends the string before the separators before it.
//    One that ends before the difference ends both strings alike: they are
//    equal. One at the difference may be a token in one string only, and
//    the separators right before it are then cut from that string alone.
// 4. Only the last hyphen opens a revision: a mark with another hyphen after
//    it is a hyphen mark. The last hyphen of the common bytes, short of the
//    separators of 3., is of the same kind in both strings only if both
//    hold another hyphen after the difference, or neither does; the ones
//    before it are hyphen marks in both (or revision marks, by the name
//    exception below). So reading restarts at that hyphen when it may be a
//    mark, and each string's reader looks ahead in its own tail.
// 5. A word after a release word or a pre-release word, and the name
//    exception (the first hyphen before a digit in a version part that
//    begins with a letter is a revision mark): the first is read where the
//    reader restarts, right after the last number before it, and the
//    release word further back and the earlier hyphens of a name it looks
//    for when it needs them. Neither moves the restart.
// 6. The epoch and the skipped v are decided by the opening bytes. A
//    restart past the opening digits has both openings in common; one at
//    the start reads both strings whole (compare_from()).
std::size_t restart_point(Pair p, std::size_t i, Common common) noexcept {
  std::size_t run = run_start(p.x, i);
  std::size_t at = run;
  if (may_follow_extension_dot(p, run)) at = before_listed_names(p, run);
  if (at == run && run > 0 && p.x[run - 1] == '-') at = run - 1;
  std::size_t cuttable = i;
  if (!p.debian() && (run == i || is_alpha(p.x[run]))) {
    cuttable = run;
    while (cuttable > 0 && is_cut_separator(p.x[cuttable - 1])) --cuttable;
  }
  if (!p.debian() && common.tokens && cut_behind(p, cuttable, i)) return kEqual;
  std::size_t hyphen = last_hyphen(p, cuttable, common.hyphen);
  if (hyphen != kNowhere && hyphen < at && may_be_mark(p, hyphen, i)) at = hyphen;
  return at;
}

// The end and the hyphen.
constexpr ByteSet kHyphenOrEnd = byte_set(std::string_view("-", 2));

// Whether a hyphen stands in the string at or after `q`. Two bytes a turn,
// each read only when the one before it is not the end.
bool holds_hyphen(const Byte *q) noexcept {
  for (;; q += 2) {
    if (kHyphenOrEnd[q[0]]) return q[0] == '-';
    if (kHyphenOrEnd[q[1]]) return q[1] == '-';
  }
}

// Whether the run of letters and digits at `s` is a platform token.
bool may_be_platform(const Byte *s) noexcept {
  if (!is_alpha(*s)) return false;
  const Byte *end = s;
  while (is_alnum(*end)) ++end;
  return is_platform_token(s, end);
}

// Whether the values of the numbers that both strings hold from `num` bytes
// past x and y on, where the difference lies in them or right after them at
// `i`, decide the order, whatever came before; and, when they are equal,
// whether both readings are in the same state right after them. `common`
// says what is known of the common bytes, `letters` whether they may hold
// a letter. A value beats a zero, and it
// beats the pre-release word that a dropped zero leaves, so two values that
// differ decide, and equal ones leave both read alike, but for:
// - An extension chain: a listed name may hold the numbers (7z, bz2), or a
//   chain may start right before them, where their run of letters and
//   digits follows a dot. Where the common bytes hold no letter, the names
//   themselves are not looked for.
// - The platform suffix: a platform token before the numbers ends both
//   strings alike, and one may hold them (linux64).
// - Only the last hyphen opens a revision: the last hyphen before them, when
//   it may be a mark, must be of one kind in both strings. Which string's
//   tail tells that is known only once the values are compared, so
//   compare_by_values() asks it then (hyphen_in_doubt()).
// - The epoch: digits that open both strings may be the epoch of one only.
//   That is known only once the numbers are read, so compare_by_values()
//   asks it then (epoch_in_doubt()).
__attribute__((always_inline)) inline bool values_decide(Pair p, std::size_t num, std::size_t i,
                                                         Common common, bool letters) noexcept {
  if (num == 0) return true;
  std::size_t run = num;
  if (letters && is_alpha(p.x[num - 1])) run = run_start(p.x, num);
  if (may_follow_extension_dot(p, run) && (!letters || before_listed_names(p, run) != run)) {
    return false;
  }
  if (!p.debian() && common.tokens &&
      (cut_behind(p, num, i) ||
       (run > 0 && is_cut_separator(p.x[run - 1]) &&
        (may_be_platform(p.x + run) || may_be_platform(p.y + run))))) {
    return false;
  }
  return true;
}

// Whether the last hyphen of the common bytes of a pair that differs at
// `i`, in numbers whose values compare as `order`, may be a revision mark
// in one string and a hyphen mark in the other. It is of one kind in both
// when neither holds a hyphen after the difference. Where the values
// differ, it is enough that the string of the smaller value holds none:
// its mark is then a revision mark, and a hyphen mark in the other comes
// after it, as the larger value does.
inline bool hyphen_in_doubt(Pair p, std::size_t i, int order, Common common) noexcept {
  if (common.hyphen == kNowhere || !may_be_mark(p, common.hyphen, i)) return false;
  if (order != 0) return holds_hyphen((order < 0 ? p.x : p.y) + i);
  return holds_hyphen(p.x + i) || holds_hyphen(p.y + i);
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
  Cursor ca = Cursor::after_number(p.a, e, zero, p.flags);
  Cursor cb = Cursor::after_number(p.b, f, zero, p.flags);
  return compare_components(ca, cb);
}

// Compares the pair by the numbers that both strings hold from `num` bytes
// past x and y on, if their values decide, or by both strings whole when
// they open with numbers that may be the epoch of one only: then true, and
// the answer in `result`.
__attribute__((always_inline)) inline bool compare_by_values(Pair p, std::size_t num,
                                                             std::size_t i, Common common,
                                                             bool letters, int &result) noexcept {
  if (!values_decide(p, num, i, common, letters)) return false;
  const Byte *e = past_zeros(p.x + num);
  const Byte *f = past_zeros(p.y + num);
  int r = compare_numbers(e, f);
  if (hyphen_in_doubt(p, i, r, common)) return false;
  if (epoch_in_doubt(p, num, e, f)) {
    result = compare_whole(p.a, p.b, p.flags, p.flags);  // as compare_from() does at 0
  } else {
    result = r != 0 ? r : compare_after_numbers(p, e, f, all_zeros(p.x + num, e));
  }
  return true;
}

// The number of bytes that `x` and `y` have in common from their starts on,
// up to the first that differs or is not plain (the end, a letter or a
// hyphen). Two bytes a turn, each read only when the one before it is
// common and plain: where the compiler lays out a loop of one byte a turn
// moves with any change to the file, and some layouts run it at half the
// speed.
inline std::size_t plain_prefix(const Byte *x, const Byte *y) noexcept {
  for (std::size_t i = 0;; i += 2) {
    if (x[i] != y[i] || !kPlain[x[i]]) return i;
    if (x[i + 1] != y[i + 1] || !kPlain[x[i + 1]]) return i + 1;
  }
}

int compare_past_v(const Byte *a, const Byte *b, int flags) noexcept;

// Compares a pair that differs first at `i` from where reading restarts.
// Out of line, so that its callers stay light.
__attribute__((noinline)) int compare_restarting(Pair p, std::size_t i, Common common) noexcept {
  std::size_t at = restart_point(p, i, common);
  return at == kEqual ? 0 : compare_from(p, at);
}

// Compares a pair whose first `plain` bytes from x and y on are the same
// and plain, where the plain path did not decide. The common bytes after
// them are read noting the hyphens and where a platform token may open.
__attribute__((always_inline)) inline int compare_elsewhere_in(Pair p, std::size_t plain) noexcept {
  Common common;
  std::size_t i = plain;
  for (;;) {
    Byte c = p.x[i];
    if (c != p.y[i]) break;
    if (c == '\0') return 0;
    if (c == '-') {
      common.hyphen = i;
    } else {  // a letter: the rest of its word is passed over at once
      if (i > 0 && is_cut_separator(p.x[i - 1])) common.tokens = true;
      while (is_alpha(p.x[i + 1]) && p.x[i + 1] == p.y[i + 1]) ++i;
    }
    ++i;
    i += plain_prefix(p.x + i, p.y + i);
  }
  std::size_t num = number_start(p.x, i);
  if (is_digit(p.x[num]) && is_digit(p.y[num])) {
    int r;
    if (compare_by_values(p, num, i, common, true, r)) return r;
  }
  return compare_restarting(p, i, common);
}

// compare_elsewhere_in(), out of line: the common pairs' path stays short,
// and keeps no more than it needs. The pair is given as loose values, so
// that its callers need not lay a Pair out in memory for a call they seldom
// make, and can jump to it rather than call it: a pair read from the
// strings' starts as its strings and flags, the other pairs, read past a v,
// with where each is read from.
__attribute__((noinline)) int compare_elsewhere_from_start(const Byte *a, const Byte *b,
                                                           int flags,
                                                           std::size_t common) noexcept {
  return compare_elsewhere_in(Pair{a, b, a, b, flags}, common);
}
__attribute__((noinline)) int compare_elsewhere_past_v(const Byte *a, const Byte *b,
                                                       const Byte *x, const Byte *y, int flags,
                                                       std::size_t common) noexcept {
  return compare_elsewhere_in(Pair{a, b, x, y, flags}, common);
}
inline int compare_elsewhere(Pair p, std::size_t common) noexcept {
  return p.x == p.a && p.y == p.b
             ? compare_elsewhere_from_start(p.a, p.b, p.flags, common)
             : compare_elsewhere_past_v(p.a, p.b, p.x, p.y, p.flags, common);
}

// Compares two strings read with the same flags from their starts, whose
// first `h` bytes are the same and plain and whose byte at `h` is a common
// hyphen: most often a revision's, which only the numbers after it tell
// apart. Out of line, and short of what other common bytes need.
__attribute__((noinline)) int compare_past_hyphens(const Byte *a, const Byte *b, int flags,
                                                   std::size_t h) noexcept {
  Common common;
  std::size_t i = h;
  do {
    common.hyphen = i;
    i += 1 + plain_prefix(a + i + 1, b + i + 1);
  } while (a[i] == b[i] && a[i] == '-');
  if (a[i] == b[i]) return a[i] == '\0' ? 0 : compare_elsewhere_from_start(a, b, flags, h);
  std::size_t num = number_start(a, i);
  if (is_digit(a[num]) && is_digit(b[num])) {
    int r;
    if (compare_by_values(Pair{a, b, a, b, flags}, num, i, common, false, r)) return r;
  }
  return compare_elsewhere_from_start(a, b, flags, h);
}

// Compares the pair from x and y on.
__attribute__((always_inline)) inline int compare_after_prefix(Pair p) noexcept {
  std::size_t i = plain_prefix(p.x, p.y);
  if (p.x[i] == p.y[i]) {
    if (p.x[i] == '\0') return 0;
    if (p.x[i] == '-' && p.x == p.a && p.y == p.b) return compare_past_hyphens(p.a, p.b, p.flags, i);
    return compare_elsewhere(p, i);
  }
  std::size_t num = number_start(p.x, i);
  if (is_digit(p.x[num]) && is_digit(p.y[num])) {
    int r;
    if (compare_by_values(p, num, i, Common{}, false, r)) return r;
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
