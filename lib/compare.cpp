// The version ordering: strings are cut into numbers, words and separators,
// each component gets a rank, and the first differing component decides.
#include "quenorbial.h"

#include <cstddef>
#include <cstring>

namespace {

// Ranks in ascending order. A string that runs out goes on with kZero.
enum Rank : unsigned char { kPre, kZero, kPost, kNonzero };

struct Component {
  Rank rank;
  unsigned char key;    // order within kPre and kPost
  const char *digits;   // kNonzero: first significant digit
  std::size_t ndigits;  // kNonzero: digits from there on
};

// ASCII only: the locale must not change the order.
bool is_digit(unsigned char c) { return static_cast<unsigned>(c - '0') < 10u; }
bool is_alpha(unsigned char c) {
  return static_cast<unsigned>((c | 0x20) - 'a') < 26u;
}
unsigned char fold(unsigned char letter) { return letter | 0x20; }

// Case-insensitive match of a word against a lower-case name.
bool word_is(const char *w, std::size_t n, const char *name) {
  for (std::size_t i = 0; i < n; ++i) {
    if (name[i] == '\0' || fold(static_cast<unsigned char>(w[i])) != name[i]) {
      return false;
    }
  }
  return name[n] == '\0';
}

bool is_post_word(const char *w, std::size_t n) {
  return word_is(w, n, "post") || word_is(w, n, "patch") ||
         word_is(w, n, "pl") || word_is(w, n, "errata") ||
         word_is(w, n, "rev");
}

bool is_release_word(const char *w, std::size_t n) {
  return word_is(w, n, "final") || word_is(w, n, "release") ||
         word_is(w, n, "ga");
}

// Yields the components of one string, one at a time.
class Components {
 public:
  Components(const char *s, int flags) : p_(s), flags_(flags) {
    // git tags mix "v1.2" and "1.2".
    if ((*p_ == 'v' || *p_ == 'V') && is_digit(static_cast<unsigned char>(p_[1]))) {
      ++p_;
    }
  }

  bool at_end() const { return *p_ == '\0'; }

  // Fills `c` with the next component; at the end, a kZero one.
  void next(Component &c) {
    bool glued = true;  // no separator since the last component
    while (*p_ != '\0' && !is_digit(uc(*p_)) && !is_alpha(uc(*p_))) {
      ++p_;
      glued = false;
    }
    if (*p_ == '\0') {
      c.rank = kZero;
      return;
    }
    if (is_digit(uc(*p_))) {
      while (*p_ == '0') ++p_;
      const char *start = p_;
      while (is_digit(uc(*p_))) ++p_;
      c.rank = start == p_ ? kZero : kNonzero;
      c.digits = start;
      c.ndigits = static_cast<std::size_t>(p_ - start);
      after_number_ = true;
      return;
    }
    const char *w = p_;
    while (is_alpha(uc(*p_))) ++p_;
    std::size_t n = static_cast<std::size_t>(p_ - w);
    classify(c, w, n, glued && after_number_);
    after_number_ = false;
  }

 private:
  static unsigned char uc(char c) { return static_cast<unsigned char>(c); }

  void classify(Component &c, const char *w, std::size_t n, bool after_number) {
    c.key = fold(uc(w[0]));
    if ((flags_ & ALPHA_AS_POST_RELEASE) != 0) {
      c.rank = kPost;
    } else if (n == 1 && after_number && !is_digit(uc(*p_))) {
      c.rank = kPost;  // a letter suffix: 1.0a
    } else if (is_post_word(w, n)) {
      c.rank = kPost;
    } else if (n == 1 && c.key == 'p') {
      c.rank = (flags_ & P_LETTER_AS_PATCH) != 0 ? kPost : kPre;
    } else if (is_release_word(w, n)) {
      c.rank = kZero;
    } else {
      c.rank = kPre;
      if (n >= 3 && word_is(w, 3, "dev")) c.key = 0;  // dev before alpha
    }
  }

  const char *p_;
  int flags_;
  bool after_number_ = false;
};

int compare(const Component &a, const Component &b) {
  if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
  switch (a.rank) {
    case kZero:
      return 0;
    case kNonzero:
      if (a.ndigits != b.ndigits) return a.ndigits < b.ndigits ? -1 : 1;
      return std::memcmp(a.digits, b.digits, a.ndigits);
    default:
      return a.key == b.key ? 0 : (a.key < b.key ? -1 : 1);
  }
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int v1_flags,
                        int v2_flags) noexcept {
  Components a(v1, v1_flags);
  Components b(v2, v2_flags);
  Component ca{};
  Component cb{};
  for (;;) {
    a.next(ca);
    b.next(cb);
    if (int r = compare(ca, cb)) return r < 0 ? -1 : 1;
    if (a.at_end() && b.at_end()) return 0;
  }
}
