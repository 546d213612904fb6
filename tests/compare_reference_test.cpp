// The library skips the common prefix of two strings read with the same
// flags and reads on from a point where it knows the state. These tests hold
// it to the plain reading, sign for sign, over cases chosen to trip a careless
// restart, millions of generated pairs and every pair of real strings.
#include <cstddef>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ordering_reference.h"
#include "quenorbial.h"
#include "support.h"

namespace {

using support::sign;

// Checks both directions against the reference; false and a failure if not.
bool agrees(const std::string &a, const std::string &b, int fa, int fb) {
  int want = reference::compare(a.c_str(), b.c_str(), fa, fb);
  int got = sign(quenorbial_compare4(a.c_str(), b.c_str(), fa, fb));
  int back = sign(quenorbial_compare4(b.c_str(), a.c_str(), fb, fa));
  if (got == want && back == -want) return true;
  ADD_FAILURE() << testing::PrintToString(a) << " (flags " << fa << ") vs "
                << testing::PrintToString(b) << " (flags " << fb << "): reference says " << want
                << ", library says " << got << " and, swapped, " << back;
  return false;
}

// Pairs whose first difference sits where a restart at that byte would
// misread a number, a word, a mark, padding, the epoch or a file name's end.
TEST(CompareReference, RestartsWhereTheStateIsKnown) {
  const char *const pairs[][2] = {
      {"1.010", "1.01"}, {"1.0a", "1.0a1"}, {"1.0a", "1.0ab"}, {"1a", "1.a"},
      {"1.0d", "1.0dev"}, {"1.0.p", "1.0.pl"}, {"v1", "va"}, {"1.v1", "1.1"},
      // A hyphen is a revision mark only before a digit and after no pre-release word.
      {"1.0-1", "1.0-a"}, {"1.0rc-1", "1.0rc-a"}, {"1.0rc.final-1", "1.0rc.final-2"},
      {"1.0rc.final-1", "1.0.final-1"}, {"-1", "-a"}, {"1--1", "1--a"},
      // Nor right after the epoch, a release word between or not.
      {"1:-1", "1:1"}, {"12:-3", "12:0-3"}, {".-1", "0-1"}, {"0:-1", "0.-1"},
      {"release-1", "release.1"}, {"release-1", "releases-1"}, {"1:final-2", "1:final.2"},
      {"1.0.final-1", "1.0-1"}, {"1.rc.final-1", "1.rc-1"}, {"ga-1", "ga-a"}, {"v-1", "v1"},
      // Padding before the first difference, dropped on one side only.
      {"1.0.rc", "1.0.~"}, {"1.0.0rc1", "1.0.0~1"}, {"0.rc", "0.~"}, {"0:~1", "0:rc1"},
      {"1.0.final.rc1", "1.0.final.1"}, {"1.0.0", "1.0.0-1"}, {"2.0.0.0a", "2.0.0.0alpha"},
      {"1.0.0cr1", "1.0rc1"}, {"1.0.0sp1", "1.0sp1"}, {"1.0.0+1", "1.0.0rc1"},
      // The epoch is read at the start only.
      {"12:3", "12.3"}, {"1:0", "1"}, {"1!0", "1.0"}, {"1.2:3", "1.2.3"}, {"0:1", "1"},
      {"v1:2", "1:2"}, {"1:v2", "1:2"}, {"v1:3", "1:2"}, {"V1.2", "1.3"}, {"v0rc", "0~"},
      // A plus mark, a '+' or '^' past the first byte, anywhere earlier makes a word a
      // post-release.
      {"1+2.0rc1", "1+2.0"}, {"1.0+x.final", "1.0+x"}, {"+rc", ""}, {"1.0+1.rc", "1.0+1.0"},
      {"1^git.rc", "1^git.0"}, {"1+2+rc", "1+2+1"}, {"+a+rc", "+a+1"}, {"++rc", "+rc"},
      {"^rc", "^0"}, {"~+rc", "~+1"}, {"1:+rc", "1:rc"}, {"1.0+p", "1.0p"},
      // The difference at, right after or right before the mark.
      {"1.0+1", "1.0.1"}, {"1.0+1", "1.0-1"}, {"1.0+", "1.0"}, {"1.0^", "1.0+"}, {"+", ""},
      {"+1", "1"}, {"^1", "+1"}, {"++1", "+1"}, {"1.0+1", "1.0+.1"}, {"1.0+-1", "1.0+1"},
      {"1.0+a-1", "1.0+a-b"}, {"1.0+1", "1.0a+1"}, {"1.0a+1", "1.0b+1"}, {"1++1", "1+1"},
      // Plus then tilde, tilde then plus.
      {"1.0+~1", "1.0+1"}, {"1.0+~", "1.0+"}, {"1+~", "1~"}, {"+~", "~"}, {"~~", "~"},
      {"^~", "^"}, {"1.0~^1", "1.0~1"}, {"1.0~rc1^git", "1.0~rc1"}, {"1.0~+1", "1.0~"},
      // cr is rc, a lone c is a letter; sp is a post word, spx is not.
      {"1.0.cr1", "1.0.c1"}, {"1.0.cr", "1.0.crx"}, {"1.0.CR", "1.0.rc"}, {"1cr", "1c"},
      {"1.0cr2", "1.0rc2"}, {"1.0.sp", "1.0.spx"}, {"1.0.s", "1.0.sp"}, {"1.0sp1", "1.0s1"},
      {"1.0.SP", "1.0.0"}, {"1.0+cr", "1.0+rc"}, {"1.0.dev.cr", "1.0.dev.rc"},
      // A word in a revision's run of letters, digits and dots is a post-release.
      {"1-1ubuntu1", "1-1.1"}, {"1.0-1.el9", "1.0-1_el9"}, {"1.0-1.2.el9", "1.0-1.2"},
      {"1.0-1-el9", "1.0-1.el9"}, {"1.0-1ubuntu", "1.0-1~ubuntu"}, {"1-1+ubuntu", "1-1ubuntu"},
      {"1.0-1.final", "1.0-1"}, {"1.0-1.0rc1", "1.0-1.rc1"}, {"a-1bc", "1-1bc"},
      {"1.0-1 ubuntu", "1.0-1ubuntu"}, {"1.0-1ubuntu0.1", "1.0-1ubuntu1"},
      {"1.0-1ubuntu-2", "1.0-1ubuntu.2"}, {"1:-1ubuntu", "1:1ubuntu"}, {"rc-1build", "1-1build"},
      // The extension chain, listed names only, in any case, at the end only.
      {"1.0.tar", "1.0.tax"}, {"1.0.gz", "1.0.g"}, {"1.0.tar.gz", "1.0.tar.gx"},
      {"1.0.7z", "1.0.7"}, {"1.0.bz2", "1.0.bz3"}, {"1.0.bz2", "1.0.bz"}, {"1.0.TGZ", "1.0"},
      {"1.0.tar.gz", "1.0.tar-gz"}, {"1.0.jar.x", "1.0.jar"}, {"1.0-1.jar", "1.0-1"},
      {"1.0.tar.1", "1.0.1"}, {"foo.tar.gz-1.0", "foo-1.0"}, {"1.0.tar.gz.asc", "1.0.tar.gz.as"},
      {"1.0.zip.zip.zip", "1.0"}, {"1.0rc1.zip", "1.0.zip"}, {".gz", ""}, {"gz", ""},
      {"1..gz", "1."}, {"1.7z", "1.7"}, {"17z", "1.7z"}, {"1.0.7zz", "1.0.7z"},
      {"1.0.sources.jar", "1.0.jar"}, {"1.0.final.jar", "1.0"}, {"1.0+dfsg.tar.gz", "1.0+dfsg"},
      {"1.2.jar", "1.2rc1.jar"}, {"1.0.zip", "1.0a.zip"}, {"1.0.tar", "1.0.tar.x"},
      {"1.0-1.el9.rpm", "1.0-1.rpm"}, {"1.0.0.tar.gz", "1.0.0rc1.tar.gz"},
      {"~", ""}, {"1~", "1"}, {"~1", "1"},
  };
  for (const auto &p : pairs) {
    for (int fa = 0; fa < 4; ++fa) {
      for (int fb = 0; fb < 4; ++fb) agrees(p[0], p[1], fa, fb);
    }
  }
}

// Random strings from the pieces that matter to the ordering.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

  std::string piece() {
    static const char *const kPieces[] = {
        "0", "00", "1", "2", "9", "10", "007", "99999999999999999999", "v", "V", "a", "B",
        "p", "P", "d", "dev", "Dev", "devel", "alpha", "rc", "pre", "post", "PATCH", "pl",
        "errata", "rev", "final", "Release", "ga", "GA", "snapshot", "dfsg", "ubuntu", "deb",
        "gabc", "x", "c", "cr", "CR", "Cr", "s", "sp", "SP", "spx", "build", "el", "el9", "fc",
        "git", "-1ubuntu1", "-0ubuntu", "-2build", "-1.el9", "-1.", ".", ".", "-", "-", "~",
        "~", "+", "+", "^", "+~", "~^", "++", ":", "!", "_", " ", "..", "\x01", "\xff", "\x80"};
    constexpr std::size_t kCount = sizeof kPieces / sizeof kPieces[0];
    std::size_t k = pick(kCount + 8);
    if (k < kCount) return kPieces[k];
    if (k < kCount + 5) return extension();
    return std::string(1, static_cast<char>(1 + pick(255)));  // any byte but NUL
  }

  // A listed extension or a near miss of one.
  std::string extension() {
    static const char *const kExtensions[] = {
        ".tar", ".gz", ".tar.gz", ".jar", ".zip", ".7z", ".bz2", ".TGZ", ".Jar", ".asc",
        ".bz3", ".7", ".ja", ".tgx", ".gzip", "tar", ".tar-gz", "7z", ".bz\x12"};
    return kExtensions[pick(sizeof kExtensions / sizeof kExtensions[0])];
  }

  // Sometimes opened by an epoch, a v, a mark or a hyphen after them, sometimes
  // closed by an extension chain.
  std::string text(std::size_t max_pieces) {
    static const char *const kOpenings[] = {
        "1:", "0:", "2!", "12:", "00:", "v", "V", "~", "-", "+", "^", "+~", "~+", "1:-",
        "0:-", "release-", "final-", "1:+", "rc-"};
    std::string s;
    if (pick(3) == 0) s = kOpenings[pick(sizeof kOpenings / sizeof kOpenings[0])];
    for (std::size_t n = pick(max_pieces + 1); n > 0; --n) s += piece();
    if (pick(4) == 0) {
      for (std::size_t n = pick(3) + 1; n > 0; --n) s += extension();
    }
    return s;
  }

 private:
  std::mt19937 rng_;
};

TEST(CompareReference, GeneratedPairs) {
  Generator gen(20261209);
  constexpr int kPairs = 3'000'000;
  int failures = 0;
  for (int i = 0; i < kPairs && failures < 10; ++i) {
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
      case 2:  // a piece changed, inserted or removed
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
    if (!agrees(a, b, fa, fb)) ++failures;
  }
}

// Every pair of a few thousand real strings, each with its own flags.
TEST(CompareReference, AllPairsOfRealStrings) {
  std::ifstream in(CORPUS_SAMPLE);
  ASSERT_TRUE(in) << CORPUS_SAMPLE;
  struct Item {
    std::string s;
    int flags;
    std::vector<reference::Component> seq;
  };
  std::vector<Item> items;
  for (std::string s; std::getline(in, s);) {
    int flags = static_cast<int>(items.size() % 4);
    items.push_back({s, flags, reference::components(s.c_str(), flags)});
  }
  ASSERT_GT(items.size(), 1000u);
  int failures = 0;
  for (const Item &x : items) {
    for (const Item &y : items) {
      int want = reference::compare(x.seq, y.seq);
      int got = sign(quenorbial_compare4(x.s.c_str(), y.s.c_str(), x.flags, y.flags));
      if (got != want && ++failures <= 10) {
        ADD_FAILURE() << testing::PrintToString(x.s) << " (flags " << x.flags << ") vs "
                      << testing::PrintToString(y.s) << " (flags " << y.flags
                      << "): reference says " << want << ", library says " << got;
      }
    }
  }
}

}  // namespace
