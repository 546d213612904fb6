// The library skips the common prefix of two strings read with the same
// flags. These tests hold it to a plain reading that cuts both strings from
// their first byte, over cases chosen to trip a careless restart and over
// millions of generated pairs, most of them sharing a prefix.
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "quenorbial.h"

namespace {

// The ordering as the contract states it, one component at a time.
namespace plain {

enum Rank { kPre, kZero, kPost, kNonzero };

struct Component {
  Rank rank = kZero;
  int key = 0;
  std::string digits;  // kNonzero: without leading zeros
};

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_alpha(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
std::string lower(std::string w) {
  for (char &c : w) c = static_cast<char>(c | 0x20);
  return w;
}

std::vector<Component> cut(const char *s, int flags) {
  std::vector<Component> out;
  std::size_t n = std::strlen(s);
  std::size_t i = 0;
  if (n >= 2 && (s[0] == 'v' || s[0] == 'V') && is_digit(s[1])) i = 1;
  bool after_number = false;
  bool glued = false;
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (is_digit(c)) {
      std::size_t j = i;
      while (j < n && is_digit(static_cast<unsigned char>(s[j]))) ++j;
      std::string d(s + i, j - i);
      d.erase(0, d.find_first_not_of('0') == std::string::npos
                      ? d.size()
                      : d.find_first_not_of('0'));
      Component comp;
      comp.rank = d.empty() ? kZero : kNonzero;
      comp.digits = d;
      out.push_back(comp);
      after_number = glued = true;
      i = j;
    } else if (is_alpha(c)) {
      std::size_t j = i;
      while (j < n && is_alpha(static_cast<unsigned char>(s[j]))) ++j;
      std::string w = lower(std::string(s + i, j - i));
      bool next_digit = j < n && is_digit(static_cast<unsigned char>(s[j]));
      Component comp;
      comp.key = w[0];
      if (flags & ALPHA_AS_POST_RELEASE) {
        comp.rank = kPost;
      } else if (w.size() == 1 && glued && after_number && !next_digit) {
        comp.rank = kPost;
      } else if (w == "post" || w == "patch" || w == "pl" || w == "errata" ||
                 w == "rev") {
        comp.rank = kPost;
      } else if (w == "p") {
        comp.rank = (flags & P_LETTER_AS_PATCH) ? kPost : kPre;
      } else if (w == "final" || w == "release" || w == "ga") {
        comp.rank = kZero;
        comp.key = 0;
      } else {
        comp.rank = kPre;
        if (w.compare(0, 3, "dev") == 0) comp.key = 0;
      }
      out.push_back(comp);
      after_number = false;
      glued = true;
      i = j;
    } else {
      glued = false;
      ++i;
    }
  }
  return out;
}

int compare(const char *a, const char *b, int fa, int fb) {
  std::vector<Component> x = cut(a, fa);
  std::vector<Component> y = cut(b, fb);
  std::size_t n = std::max(x.size(), y.size());
  x.resize(n);
  y.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Component &p = x[i];
    const Component &q = y[i];
    if (p.rank != q.rank) return p.rank < q.rank ? -1 : 1;
    if (p.rank == kNonzero) {
      if (p.digits.size() != q.digits.size()) {
        return p.digits.size() < q.digits.size() ? -1 : 1;
      }
      int r = p.digits.compare(q.digits);
      if (r != 0) return r < 0 ? -1 : 1;
    } else if (p.rank != kZero && p.key != q.key) {
      return p.key < q.key ? -1 : 1;
    }
  }
  return 0;
}

}  // namespace plain

int sign(int r) { return (r > 0) - (r < 0); }

int fast(const std::string &a, const std::string &b, int fa = 0, int fb = 0) {
  return sign(quenorbial_compare4(a.c_str(), b.c_str(), fa, fb));
}

struct Case {
  const char *a;
  const char *b;
  int want;
};

// Pairs whose first difference sits where a restart at that byte would
// misread a number's value or a word's class.
TEST(CompareShortcut, RestartsBeforeTheRunThatDiffers) {
  const Case cases[] = {
      {"1.010", "1.01", 1},     // 10 > 1, not "0" against ""
      {"1.10", "1.100", -1},
      {"1.0", "1.00", 0},
      {"1.0a", "1.0a1", 1},     // letter suffix against pre-release a
      {"1.0a", "1.0ab", 1},     // a word of two letters is no suffix
      {"1a", "1.a", 1},         // glued or not
      {"1.0d", "1.0dev", 1},    // suffix d against dev
      {"1.0dev", "1.0devel", 0},
      {"1.0p", "1.0pl", 0},     // both post-release p
      {"1.0.p", "1.0.pl", -1},  // pre p against post pl
      {"v1", "va", 1},          // the leading v only before a digit
      {"v1.0", "1.0", 0},
      {"1.v1", "1.1", -1},      // v inside is a word
      {"2.0rc", "2.0rc1", -1},
      {"1.0.final", "1.0.ga", 0},
      {"1.0.Final1", "1.0.GA2", -1},
      {"1.0.0", "1.0.", 0},
      {"1.0-", "1.0", 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(fast(c.a, c.b), c.want) << c.a << " vs " << c.b;
    EXPECT_EQ(fast(c.b, c.a), -c.want) << c.b << " vs " << c.a;
    EXPECT_EQ(plain::compare(c.a, c.b, 0, 0), c.want) << c.a << " vs " << c.b;
  }
}

TEST(CompareShortcut, FlagsDecideWhetherPrefixesMatch) {
  // Same bytes, other flags: the prefix alone says nothing.
  EXPECT_LT(fast("1.0.p1", "1.0.p1", 0, P_LETTER_AS_PATCH), 0);
  EXPECT_GT(fast("1.0.foo", "1.0.foo", ALPHA_AS_POST_RELEASE, 0), 0);
  // Bits the library ignores do not count as a difference.
  EXPECT_EQ(fast("1.0.p1", "1.0.p1", 4, 0), 0);
  EXPECT_EQ(fast("1.0.p1", "1.0.p2", P_LETTER_AS_PATCH | 8, P_LETTER_AS_PATCH),
            -1);
}

// Random strings from pieces that matter to the ordering.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  std::string piece() {
    static const char *const kPieces[] = {
        "0", "00", "1", "2", "9", "10", "007", "99999999999999999999",
        "v", "V", "a", "B", "p", "P", "d", "dev", "Dev", "devel", "alpha",
        "rc", "pre", "post", "PATCH", "pl", "errata", "rev", "final",
        "Release", "ga", "GA", "snapshot", "x", ".", ".", "-", "_", " ",
        "..", "\x01", "\xff", "+", "\x80"};
    constexpr std::size_t kCount = sizeof kPieces / sizeof kPieces[0];
    std::size_t k = pick(kCount + 4);
    if (k < kCount) return kPieces[k];
    return std::string(1, static_cast<char>(1 + pick(255)));  // any byte
  }

  std::string text(std::size_t max_pieces) {
    std::string s;
    for (std::size_t n = pick(max_pieces + 1); n > 0; --n) s += piece();
    return s;
  }

  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

 private:
  std::mt19937 rng_;
};

TEST(CompareShortcut, AgreesWithThePlainReading) {
  Generator gen(20240611);
  constexpr int kPairs = 2'000'000;
  int shown = 0;
  for (int i = 0; i < kPairs && shown < 10; ++i) {
    std::string a, b;
    switch (i % 4) {
      case 0:  // unrelated strings
        a = gen.text(6);
        b = gen.text(6);
        break;
      case 1:  // a shared prefix, then different tails
        a = gen.text(6);
        b = a;
        a += gen.text(3);
        b += gen.text(3);
        break;
      case 2:  // one byte changed, inserted or removed
        a = gen.text(8);
        b = a;
        if (b.empty() || gen.pick(3) == 0) {
          b.insert(gen.pick(b.size() + 1), gen.piece());
        } else if (gen.pick(2) == 0) {
          b[gen.pick(b.size())] = gen.piece()[0];
        } else {
          b.erase(gen.pick(b.size()), 1);
        }
        break;
      default:  // one a prefix of the other
        a = gen.text(8);
        b = a.substr(0, gen.pick(a.size() + 1));
        break;
    }
    int fa = static_cast<int>(gen.pick(4));
    int fb = gen.pick(4) == 0 ? static_cast<int>(gen.pick(4)) : fa;
    int want = plain::compare(a.c_str(), b.c_str(), fa, fb);
    if (fast(a, b, fa, fb) != want || fast(b, a, fb, fa) != -want) {
      ADD_FAILURE() << '"' << a << "\" (" << fa << ") vs \"" << b << "\" ("
                    << fb << "): want " << want;
      ++shown;
    }
  }
}

}  // namespace
