// The library skips the common prefix of two strings read with the same
// flags and reads on from a point where it knows the state. These tests hold
// it to the plain reading, sign for sign, over cases chosen to trip a careless
// restart, millions of generated pairs and every pair of real strings.
//
// The generated pairs can be run in far greater numbers than CI runs them,
// the number and the seed given by the environment; in a release build, as
// one command line (each seed gives its own pairs, the same on every run):
//   COMPARE_REFERENCE_PAIRS=100000000 COMPARE_REFERENCE_SEED=1
//   build/tests/compare_reference_test --gtest_filter='*GeneratedPairs'
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <utility>
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
      // Only the last hyphen opens a revision: a hyphen anywhere later, whatever
      // follows it, makes one before it a hyphen mark.
      {"1.0-1-1", "1.0-1.1"}, {"0.19-4-1", "0.19-4.1"}, {"1.0-1-a", "1.0-1.a"},
      {"1.0-1a-", "1.0-1a"}, {"1.0-1", "1.0-1-"}, {"v1.2-3-gabc", "v1.2-3.gabc"},
      {"1.0-1-rc", "1.0-1_rc"}, {"1-2-3-4", "1-2-3.4"}, {"1.0-1ubuntu-2", "1.0-1ubuntu.2"},
      // A hyphen opens nothing before the version's first number, after a name,
      // a post word or a release word.
      {"a-1", "a1-1"}, {"1:a-1", "1:1-1"}, {"patch-1.2rc1", "patch.1.2rc1"},
      {"hotfix-1-2", "hotfix-1.2"}, {"git-2.44.0.rc0", "gitx-2.44.0.rc0"}, {"r1-2", "r-12"},
      // A name's first hyphen before a digit stays a revision mark, when it is one.
      {"log4j-2.0-rc1", "log4j-2.0.rc1"}, {"foo-1.2-3", "foo-1.2.3"}, {"foo-1-2", "foo.1-2"},
      {"a1-2-3", "a1-2.3"}, {"1:a1-2-3", "1a1-2-3"}, {"va1-2-3", "v1-2-3"}, {"a1-2-3", "1-2-3"},
      {"foo-1.2-3-4", "foo-1.2-3.4"}, {"x.1-2-3", "x1-2-3"},
      // A platform token split by the difference, or its separator or dotted number.
      {"1.2-linux", "1.2-linus"}, {"1.2-linux", "1.2-linux2"}, {"1.2-linux64", "1.2-linux64x"},
      {"1.2.amd64", "1.2.amd6"}, {"1.2-py3", "1.2-py3k"}, {"1.2-cp", "1.2-cp3"},
      {"1.2-armv7l", "1.2-armv7ll"}, {"1.2-armv", "1.2-armv7"}, {"1.2_x86_64", "1.2_x87_64"},
      {"1.2-manylinux", "1.2-manylinu"}, {"1.2-alpine", "1.2~alpine"}, {"1.2+alpine", "1.2-alpine"},
      {"1.2^linux", "1.2.linux"}, {"1.2linux", "1.2-linux"}, {"1.2-linux", "1-2-linux"},
      {"12-linux", "1.2-linux"}, {"1.2-linux", "1.x-linux"}, {"1:1.2-linux", "1:12-linux"},
      {"linux-1.2-linux", "linux-1.2-linu"}, {"1.2.-_linux", "1.2.-_"}, {"1.2-jammy1", "1.2-jammy"},
      {"1.0-1-amd64", "1.0-1-amd6"}, {"foo_1.2-1_amd64", "foo_1.2-1_amd65"},
      {"1.2-1.el9.x86_64", "1.2-1.el9.x87_64"}, {"1.2-setuptools", "1.2-setup"},
      {"go1.22.0.linux-amd64.tar.gz", "go1.22.0.linux-amd64.tar.gx"}, {"1.2.Linux", "1.2.LINUX"},
      {"libc6-i386_2.36-9", "libc6-i386.2.36-9"}, {"1.2-1~jammy", "1.2-1-jammy"},
      // A release word or a pre-release word far behind the difference.
      {"1.0.final.x.y.rc", "1.0.final.x.y.0"}, {"1.0.Final-redhat-1", "1.0.Final-redhat-a"},
      {"release-1.0-rc1", "release-1.0-1"}, {"1.0.ga.10.rc", "1.0.ga.10.0"},
      {"13.2-RELEASE-p4", "13.2-RELEASES-p4"}, {"1.0rc.x", "1.0rc.1"},
      {"1.0.alpha........x", "1.0.alpha........0"}, {"1.0.a.b.c", "1.0.a.b.0"},
      {"1.0.rc.dev", "1.0.rc.de"}, {"1.0.rc.snapshot", "1.0.rc.snapshots"},
      {"1.0.rc.final", "1.0.rc.finals"}, {"rc.x", "1rc.x"}, {"1.0.0.rc.x", "1.0.0.rc.0"},
      {"1.0.rc-1", "1.0.r-1"}, {"1.0.rc1.x", "1.0.rc.x"},
      // Post words and their near misses, compared by the whole word.
      {"1.0.dfsg1", "1.0.dfs1"}, {"1.0.hotfix", "1.0.hotfi"}, {"1.0.gitx", "1.0.git"},
      {"1.0-r1", "1.0-rc1"}, {"1.0.jdk", "1.0.jdkx"}, {"r1.2", "rc1.2"}, {"1.0+dfsg", "1.0+ds"},
      {"1.0p", "1.0patch"}, {"1.0.P", "1.0.Patch"},
      // The Debian reading: every hyphen after a component, words by their bytes.
      {"1.0-a-b", "1.0-a.b"}, {"-a", "a"}, {"1:-a", "1:a"}, {"~-1", "~.1"}, {"1~-1", "1~.1"},
      {"a-1-b", "a-1.b"}, {"1.0aB", "1.0ab"}, {"1.0-z", "1.0z"}, {"5.1-b01-2", "5.1-b01.2"},
      // A platform token behind numbers that differ, or around them; the
      // separators before a token at the difference, hyphens among them; a
      // revision's hyphen with a hyphen in one tail only.
      {"1.2-linux-3", "1.2-linux-4"}, {"1.2.linux.3.a", "1.2.linux.3.b"},
      {"v1.2-linux-3", "1.2-linux-4"}, {"1.2-x86.1ubuntu2", "1.2-x86.1ubuntu3"},
      {"1.2.linux32", "1.2.linux64"}, {"1.2-py3", "1.2-py4"}, {"1.0-1-.linux", "1.0-1-.linuz"},
      {"1.0-1-.-linux", "1.0-1-.-2"}, {"1.0-1_-linux", "1.0-1_-1"}, {"2.3-4-1", "2.3-5"},
      {"2.3-4", "2.3-5-1"}, {"2.3-4ubuntu1-a", "2.3-4ubuntu2"}, {"1:2-3", "1:2-4-5"},
      {"foo-1-2", "foo-1-3-4"}, {"1.0.final.2", "1.0.final.3-x"},
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
  explicit Generator(unsigned long seed) : rng_(seed) {}

  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

  template <std::size_t N>
  const char *one_of(const char *const (&list)[N]) {
    return list[pick(N)];
  }

  std::string piece() {
    static const char *const kPieces[] = {
        "0", "00", "1", "2", "9", "10", "007", "99999999999999999999", "v", "V", "a", "B",
        "p", "P", "d", "dev", "Dev", "devel", "alpha", "rc", "pre", "post", "PATCH", "pl",
        "errata", "rev", "final", "Release", "ga", "GA", "snapshot", "dfsg", "ubuntu", "deb",
        "gabc", "x", "c", "cr", "CR", "Cr", "s", "sp", "SP", "spx", "build", "el", "el9", "fc",
        "git", "-1ubuntu1", "-0ubuntu", "-2build", "-1.el9", "-1.", ".", ".", "-", "-", "~",
        "~", "+", "+", "^", "+~", "~^", "++", ":", "!", "_", " ", "..", "\x01", "\xff", "\x80",
        // Post words and near misses of them, release words, dev and snapshot.
        "r", "R", "hotfix", "bugfix", "ds", "repack", "svn", "bzr", "hg", "cvs", "jdk", "JRE",
        "hotfi", "hotfixes", "dfs", "dss", "gi", "gitx", "jd", "rr", "repacked", "Post",
        "RELEASE", "Final", "SNAPSHOT", "snapshots", "de", "DEVEL", "finals",
        // Hyphens before and after digits and letters, and dotted numbers.
        "-1-", "-a-", "--", "-1-1", "-0", "-rc-", "-p4", "-z", "-B", "-b01", "1.2", "0.0",
        "2.0.1", "_1.2"};
    constexpr std::size_t kCount = sizeof kPieces / sizeof kPieces[0];
    std::size_t k = pick(kCount + 16);
    if (k < kCount) return kPieces[k];
    if (k < kCount + 5) return extension();
    if (k < kCount + 12) return platform();
    return std::string(1, static_cast<char>(1 + pick(255)));  // any byte but NUL
  }

  // A listed extension or a near miss of one.
  std::string extension() {
    static const char *const kExtensions[] = {
        ".tar", ".gz", ".tar.gz", ".jar", ".zip", ".7z", ".bz2", ".TGZ", ".Jar", ".asc",
        ".bz3", ".7", ".ja", ".tgx", ".gzip", "tar", ".tar-gz", "7z", ".bz\x12", ".whl", ".deb",
        ".rpm"};
    return one_of(kExtensions);
  }

  // A platform token or a near miss of one, after a separator or a mark.
  std::string platform() {
    static const char *const kBefore[] = {".", "-", "_", ".", "-", "_", "~", "+", "^", "",
                                          "--", "._", "-."};
    static const char *const kTokens[] = {
        "linux", "Linux", "LINUX", "linux64", "darwin", "macos", "macosx11", "osx", "freebsd14",
        "android", "win32", "win", "mingw64", "mac", "windows", "musl", "msvc", "openbsd",
        "netbsd", "dragonfly", "solaris", "illumos", "aix", "ios", "wasm", "wasi", "amd64",
        "x86", "x86_64", "x64", "x32", "arm", "arm64", "armhf", "armel", "aarch64", "i386",
        "i686", "ppc64le", "s390x", "riscv64", "mips", "mipsle", "mips64le", "loong64",
        "universal", "universal2", "noarch", "armv7l", "armv6", "ARMV7L", "py", "py3", "py312",
        "cp311", "pp39", "manylinux", "manylinux2014", "musllinux_1_1", "alpine", "alpine3",
        "ltsc2022", "slim", "bookworm", "bullseye", "buster", "stretch", "trixie", "jammy",
        "focal", "noble", "bionic", "xenial", "nanoserver", "windowsservercore", "bin", "src",
        "source", "sources", "javadoc", "all", "setup", "installer", "portable",
        "py3-none-any", "slim-bookworm", "linux-amd64",
        // Near misses: prefixes, longer runs, digits after names that take none.
        "linu", "linuxx", "linux64x", "lin", "amd6", "amd64x", "x8", "x86x", "arm6", "armv",
        "armvl", "armv7ll", "armv7x", "py3k", "pyx", "cp", "cpx", "pp", "cp3a", "manylinu",
        "musl1", "alpinex", "slim1", "slimx", "jammy1", "setuptools", "sourcesx", "al", "binx",
        "el9", "fc39", "ubuntu", "debian", "jdk", "jre", "win32x", "mac1", "noarch2", "i387"};
    return std::string(one_of(kBefore)) + one_of(kTokens);
  }

  // Sometimes opened by an epoch, a v, a mark or a hyphen after them, sometimes
  // closed by an extension chain.
  std::string text(std::size_t max_pieces) {
    static const char *const kOpenings[] = {
        "1:", "0:", "2!", "12:", "00:", "v", "V", "~", "-", "+", "^", "+~", "~+", "1:-",
        "0:-", "release-", "final-", "1:+", "rc-", "patch-", "git-", "r", "foo-", "1:foo-",
        "log4j-", "a1-"};
    std::string s;
    if (pick(3) == 0) s = one_of(kOpenings);
    for (std::size_t n = pick(max_pieces + 1); n > 0; --n) s += piece();
    if (pick(4) == 0) {
      for (std::size_t n = pick(3) + 1; n > 0; --n) s += extension();
    }
    return s;
  }

  // A name, a dotted version with words and hyphens after it, platform tokens
  // and an extension chain, as download file names and image tags are made.
  std::string file_name() {
    static const char *const kNames[] = {
        "", "", "foo-", "foo_", "go", "log4j-", "libc6-i386_", "release-", "patch-", "git-",
        "r", "v", "1:", "python3-", "app", "Foo-", "1:foo-"};
    static const char *const kTails[] = {
        "rc1", "-rc1", "a1", ".post1", "-1", "-2-1", "-1.el9", "+dfsg-1", "~rc1", "-RELEASE",
        "-RELEASE-p4", ".Final", "-SNAPSHOT", "-alpha.beta", "-r1", "-hotfix1", "-1ubuntu1",
        "-b01-2", "-z", "a", "-1-", ".dfsg1", ".git20240101", "-jdk5", "-alpha-SNAPSHOT",
        "rc1.dev1", "-a.b.c", "-1+b1", "~1", "^git1", ".0", "-0"};
    std::string s = one_of(kNames);
    s += std::to_string(pick(3));
    for (std::size_t n = pick(4); n > 0; --n) s += "." + std::to_string(pick(12));
    for (std::size_t n = pick(3); n > 0; --n) s += one_of(kTails);
    for (std::size_t n = pick(3); n > 0; --n) s += platform();
    if (pick(2) == 0) s += extension();
    return s;
  }

  // `s` with one piece changed, inserted or removed, or one letter's case turned.
  std::string mutate(std::string s) {
    std::size_t k = pick(4);
    if (s.empty() || k == 0) {
      s.insert(pick(s.size() + 1), piece());
    } else if (k == 1) {
      s[pick(s.size())] = piece()[0];
    } else if (k == 2) {
      s.erase(pick(s.size()), 1);
    } else {
      std::size_t i = pick(s.size());
      if (s[i] >= 'a' && s[i] <= 'z') s[i] = static_cast<char>(s[i] - 'a' + 'A');
      else if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] - 'A' + 'a');
      else s.erase(i, 1);
    }
    return s;
  }

  // The strings' own text or a file name.
  std::string any() { return pick(3) == 0 ? file_name() : text(8); }

 private:
  std::mt19937_64 rng_;
};

// A positive number from the environment, or `fallback` when it is not set.
unsigned long long from_environment(const char *name, unsigned long long fallback) {
  const char *value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  char *end = nullptr;
  unsigned long long n = std::strtoull(value, &end, 10);
  if (*end != '\0' || n == 0) {
    ADD_FAILURE() << name << "=" << value << " is not a positive number";
    return fallback;
  }
  return n;
}

TEST(CompareReference, GeneratedPairs) {
  const unsigned long long pairs = from_environment("COMPARE_REFERENCE_PAIRS", 3'000'000);
  const unsigned long long seed = from_environment("COMPARE_REFERENCE_SEED", 20261209);
  Generator gen(seed);
  int failures = 0;
  unsigned long long i = 0;
  for (; i < pairs && failures < 10; ++i) {
    std::string a, b;
    switch (i % 5) {
      case 0:  // unrelated strings
        a = gen.text(6);
        b = gen.text(6);
        break;
      case 1:  // a shared prefix, then different tails
        a = gen.any();
        b = a;
        a += gen.text(3);
        b += gen.text(3);
        break;
      case 2:  // a piece changed, inserted or removed, or a letter's case
        a = gen.any();
        b = gen.mutate(a);
        break;
      case 3:  // one a prefix of the other
        a = gen.any();
        b = a.substr(0, gen.pick(a.size() + 1));
        break;
      default:  // two file names
        a = gen.file_name();
        b = gen.pick(2) == 0 ? gen.file_name() : gen.mutate(a);
        break;
    }
    int fa = static_cast<int>(gen.pick(4));
    int fb = gen.pick(4) == 0 ? static_cast<int>(gen.pick(4)) : fa;
    if (!agrees(a, b, fa, fb)) ++failures;
  }
  std::printf("%llu pairs from seed %llu\n", i, seed);
}

// Every pair of a few thousand real strings, read with the same flags on both
// sides, each of the four sets in turn, and with one pair of different sets,
// the twelve taking turns from pair to pair.
TEST(CompareReference, AllPairsOfRealStrings) {
  std::ifstream in(CORPUS_SAMPLE);
  ASSERT_TRUE(in) << CORPUS_SAMPLE;
  struct Item {
    std::string s;
    std::vector<reference::Component> seq[4];  // read with flags 0 to 3
  };
  std::vector<Item> items;
  for (std::string s; std::getline(in, s);) {
    Item item{s, {}};
    for (int f = 0; f < 4; ++f) item.seq[f] = reference::components(s.c_str(), f);
    items.push_back(std::move(item));
  }
  ASSERT_GT(items.size(), 1000u);
  int failures = 0;
  auto check = [&](const Item &x, const Item &y, int fx, int fy) {
    int want = reference::compare(x.seq[fx], y.seq[fy]);
    int got = sign(quenorbial_compare4(x.s.c_str(), y.s.c_str(), fx, fy));
    if (got != want && ++failures <= 10) {
      ADD_FAILURE() << testing::PrintToString(x.s) << " (flags " << fx << ") vs "
                    << testing::PrintToString(y.s) << " (flags " << fy
                    << "): reference says " << want << ", library says " << got;
    }
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    for (std::size_t j = 0; j < items.size(); ++j) {
      for (int f = 0; f < 4; ++f) check(items[i], items[j], f, f);
      int turn = static_cast<int>((i + j) % 12);
      check(items[i], items[j], turn % 4, (turn % 4 + 1 + turn / 4) % 4);
    }
  }
}

}  // namespace
