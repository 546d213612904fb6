// The ordering of quenorbial_compare4: every rule and example of the contract,
// then reflexivity, antisymmetry and transitivity over many strings.
#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chains.h"
#include "quenorbial.h"
#include "support.h"

using namespace std::string_literals;

namespace {

using support::sign;

using chains::Chain;
using chains::Edge;
using chains::expect_chains;
using chains::Guarded;

TEST(Compare, ExampleTable) {
  expect_chains({
      {0, {"1.2", "<", "1.9", "<", "1.10"}},
      {0, {"1.0", "=", "1.00", "=", "v1.0", "=", "1_0", "=", "1..0", "=", "0:1.0"}},
      {0, {"1", "<", "1.0", "<", "1.0.0", "<", "1.0.1"}},
      {0, {"1.0.dev1", "<", "1.0alpha1", "=", "1.0.0a1", "=", "1a1", "<", "1.0beta2", "<",
           "1.0pre1", "<", "1.0rc1", "<", "1.0"}},
      {0, {"1.0-SNAPSHOT", "<", "1.0", "=", "1.0.Final"}},
      {0, {"1.0", "<", "1.0a", "<", "1.0patch1", "<", "1.0.1"}},
      {0, {"1.0", "<", "1.0-1", "<", "1.0-2", "<", "1.0.0-1", "<", "1.0.1"}},
      {0, {"1-0", "<", "1.0"}},
      {0, {"1.0-rc-1", "=", "1.0-rc1"}},
      {0, {"v1.2", "<", "v1.2-3-gabc1234", "<", "v1.2-10-gdef5678", "<", "v1.2.1"}},
      {0, {"0.24-2", "<", "0.24+dfsg-1", "<", "0.24.0-1", "<", "0.24.0-1+b1", "<", "0.24.0-1.1"}},
      {0, {"1.0~rc1", "<", "1.0~1", "<", "1.0", "<", "2.3-1~22.04.1", "<", "2.3-1"}},
      {0, {"9.9", "<", "1:0.1", "<", "2:0.1"}},
      {0, {"2.0", "<", "1!1.0"}},
      {0, {"1.0", "<", "1.0+local", "<", "1.0+local.abc", "<", "1.0.1"}},
      {0, {"1.0p1", "<", "1.0"}},
      {P_LETTER_AS_PATCH, {"1.0", "<", "1.0p1"}},
      {0, {"1.0foo", "<", "1.0"}},
      {ALPHA_AS_POST_RELEASE, {"1.0", "<", "1.0foo"}},
      {0, {"~", "=", "", "<", "0", "<", "1"}},
      {0, {"alpha", "<", ""}},
      {0, {"1.0RC1", "=", "1.0rc1"}},
      {0, {"1.99999999999999999999999", "<", "1.100000000000000000000000"}},
      {0, {"2.0\0zzz"s, "=", "2.0"}},
  });
}

// Pairs whose order changed from the builds that read every hyphen and tilde
// as a separator, padded a shorter string with zeros and had no epoch.
TEST(Compare, OrdersThatChangedFromEarlierBuilds) {
  expect_chains({
      {0, {"1.0", "<", "1.0.0"}},
      {0, {"", "<", "0"}},
      {0, {"1-0", "<", "1.0"}},
      {0, {"0.24-2", "<", "0.24.0-1"}},
      {0, {"v1.2-3-gabc", "<", "v1.2.1"}},
      {0, {"1.0", "<", "1.0+dfsg"}},
      {0, {"1.0.0rc1", "=", "1.0rc1"}},
      {0, {"1.0~1", "<", "1.0"}},
      {0, {"9.9", "<", "1:0.1"}},
      // And from those that read '+' and '^' as separators, cr and sp as other
      // words, a word in a revision as a pre-release and a file name whole.
      {0, {"0.24+dfsg-1", "<", "0.24.0-1"}},
      {0, {"1.0+local", "<", "1.0.0"}},
      {0, {"2.5.0-17", "<", "2.5.0+~2.5.3-2"}},
      {0, {"1.0", "<", "1.0^git1"}},
      {0, {"1.0.rc1", "<", "1.0.CR2"}},
      {0, {"1.0", "<", "1.0.SP1"}},
      {0, {"0.1", "<", "release-3.0", "=", "3.0"}},
      {0, {"2.3-1", "<", "2.3-1ubuntu1"}},
      {0, {"foo-1.2rc1.jar", "<", "foo-1.2.jar"}},
      // And from those that read r as a pre-release and let a hyphen after a
      // post word open a revision: two pairs of that change that the manual's
      // examples leave out.
      {0, {"0.5", "<", "r1.2", "<", "1.0"}},
      {0, {"patch-1.2rc1", "<", "patch-1.2"}},
  });
}

TEST(Compare, SeparatorsOnlyDelimit) {
  expect_chains({
      {0, {"1.0", "=", "1_0", "=", "1..0", "=", "1 0", "=", "1\t0", "=", "1/0", "=", "1.-_0",
           "=", "1\x01" "0", "=", "1\x7f" "0", "=", "1\x80" "0", "=", "1\xff" "0"}},
      {0, {".1", "=", "1", "=", "1.", "=", "-1-", "=", "~1", "=", "+1", "=", "^1", "=",
           "\xe2\x80\x93" "1"}},
      // Numbers and words are maximal runs, with or without a separator between.
      {0, {"1.2", "<", "1.12", "<", "12"}},
      {0, {"1rc1", "=", "1.rc.1", "=", "1.rc1"}},
      // A byte >= 0x80 is no letter; it separates the "a" from the number.
      {0, {"1.0\xc3\xa9" "a", "<", "1.0", "=", "1.0\xc3\xa9", "<", "1.0a"}},
  });
}

TEST(Compare, LeadingV) {
  expect_chains({
      {0, {"v1.2", "=", "1.2", "=", "V1.2"}},
      {0, {"v", "<", "", "<", "v0", "=", "V0", "=", "0"}},
      // Not directly before a digit, or not at the very start: a word.
      {0, {"v.1", "=", "vv1", "=", " v1", "=", "-v1", "=", "V.1", "<", "1"}},
      {0, {"1.v2", "=", "1v2", "<", "1", "<", "1v"}},
  });
}

TEST(Compare, Ranks) {
  expect_chains({
      // tilde < pre-release < end < revision < plus < zero < post-release < other numbers
      {0, {"1~", "<", "1.rc", "<", "1", "<", "1-1", "<", "1+", "<", "1.0", "<", "1.post", "<",
           "1.1"}},
      {0, {"1.alpha", "<", "1", "=", "1.final", "<", "1.0", "=", "1.000", "<", "1.post", "<",
           "1.1"}},
      {0, {"", "=", "final", "=", "RELEASE", "=", "ga", "<", "0", "=", "000", "<", "0.0.0"}},
      {0, {"1.rev99", "<", "1.1"}},
      // A hyphen mark: a hyphen with another after it.
      {0, {"1+", "<", "1-1-1", "<", "1.0"}},
      // Debian's reading: a word after a separator comes after every number.
      {ALPHA_AS_POST_RELEASE, {"1.1", "<", "1.zebra.9"}},
  });
}

TEST(Compare, TheEndComesBeforeAnotherZero) {
  expect_chains({
      {0, {"1", "<", "1.0", "<", "1.0.0.0", "<", "1.0.0.0.1"}},
      {0, {"1.0alpha", "<", "1.0", "<", "1.0.post1"}},
      {0, {"1.0.rc", "<", "1.0", "<", "1.0.0.post", "<", "1.0.1"}},
  });
}

TEST(Compare, Epochs) {
  expect_chains({
      {0, {"9.9", "<", "0:10", "=", "10", "<", "1:0", "=", "1!0", "=", "01:0", "<", "1:0.1", "<",
           "2:0"}},
      // Read at the start only.
      {0, {"v1:2", "=", "1.2", "=", "1.2:", "<", "1:2"}},
      // A zero epoch is padding before a pre-release as any zero is.
      {0, {"0:rc1", "=", "rc1", "<", ""}},
  });
}

TEST(Compare, RevisionMarks) {
  expect_chains({
      {0, {"1.0", "<", "1.0-0", "<", "1.0-1", "<", "1.0-1.1", "<", "1.0-2", "<", "1.0.0"}},
      // Not before a digit, or the first byte: a separator.
      {0, {"1-a", "=", "1.a", "<", "-1", "=", "1", "=", "1-"}},
      // Nor right after the epoch, given or not, with or without a dropped word
      // between; a zero number before the hyphen is no epoch.
      {0, {"0-1", "=", "0.-1", "<", "0:-1", "=", ".-1", "=", "release-1", "=", "Final_1", "=",
           "1"}},
      {0, {"1:1.0", "=", "1:-1.0", "=", "1:release-1.0", "<", "1:1.0-1", "=", "1:1.0.final-1"}},
      // After a word in a revision a hyphen is a mark again, and the last one
      // opens the revision: the one before it is a hyphen mark.
      {0, {"1.0-1ubuntu", "<", "1.0-1ubuntu.2", "<", "1.0-1ubuntu-2"}},
  });
}

// Words in a revision's run of letters, digits and dots are post-releases,
// even a release word; another separator ends the run.
TEST(Compare, WordsInARevision) {
  expect_chains({
      {0, {"2.3-1", "<", "2.3-1build1", "<", "2.3-1ubuntu1", "=", "2.3-1.Ubuntu.1", "<",
           "2.3-1.1"}},
      {0, {"1.0-1", "<", "1.0-1.f", "<", "1.0-1final", "<", "1.0-1.1"}},
      // Another separator ends the run; a hyphen also makes the one before it a
      // hyphen mark.
      {0, {"2.3-1_ubuntu1", "=", "2.3-1 ubuntu1", "<", "2.3-1", "<", "2.3-1-ubuntu1"}},
      // No revision opened: the hyphen is the first byte, or after the epoch or
      // a pre-release.
      {0, {"-1ubuntu", "=", "1ubuntu", "<", "1"}},
      {0, {"1:-1ubuntu", "=", "1:1ubuntu", "<", "1:1"}},
      {0, {"1.0-rc1.el9", "<", "1.0-rc1"}},
  });
}

TEST(Compare, TildeMarks) {
  expect_chains({
      {0, {"1.0~~", "<", "1.0~rc1", "<", "1.0~", "<", "1.0~1", "<", "1.0"}},
  });
}

TEST(Compare, PlusMarks) {
  expect_chains({
      {0, {"1.0", "<", "1.0-1", "<", "1.0+", "=", "1.0^", "<", "1.0+-1", "<", "1.0+a", "=",
           "1.0^a", "<", "1.0+1", "=", "1.0^.1", "<", "1.0.0"}},
      // At the first byte a separator, and no plus mark for the words after it.
      {0, {"++1", "<", "+1", "=", "^1", "=", "1"}},
      {0, {"+rc", "=", "^rc", "=", "rc", "<", "", "<", "++rc"}},
      // After the version, before anything else after it.
      {0, {"2.5.0", "<", "2.5.0-17", "<", "2.5.0+~~", "<", "2.5.0+~", "<", "2.5.0+~1", "<",
           "2.5.0+", "<", "2.5.0+1"}},
      {0, {"1.0~rc1", "<", "1.0~rc1^git1", "<", "1.0~", "<", "1.0~^", "<", "1.0"}},
      {0, {"1.0+a", "<", "1.0+a+b", "<", "1.0+a.b"}},
  });
}

TEST(Compare, WordsAfterAPlus) {
  expect_chains({
      {0, {"1.0", "<", "1.0+a", "<", "1.0+alpha", "<", "1.0+rc.dev", "<", "1.0.1"}},
      // Anywhere earlier, not only right before the word.
      {0, {"1.0rc1", "<", "1+0", "<", "1+0rc1", "<", "1.0"}},
      {0, {"1.0", "=", "1.0.final", "<", "1.0+final"}},
  });
}

TEST(Compare, PaddingBeforePreReleases) {
  expect_chains({
      {0, {"rc1", "=", "0rc1", "=", "0.0.rc1", "=", "0:0.rc.1", "<", "", "<", "0"}},
      // A release word after a number makes the words after it post-releases,
      // so no zero before them is padding.
      {0, {"1rc1", "<", "1.0-0rc1", "<", "1.0.0.final.rc1"}},
  });
}

// Debian's reading: a word glued to a number is a suffix, before a plus
// mark; any other word comes after every number; both by their bytes.
TEST(Compare, AlphaFlagReadsWordsAsDebianDoes) {
  expect_chains({
      {ALPHA_AS_POST_RELEASE, {"1.0", "<", "1.0pre", "<", "1.0.1", "<", "1.0.DEVEL", "<",
                               "1.0.alpha", "<", "1.0.d", "<", "1.0.dev", "<", "1.0.final",
                               "<", "1.0.p", "<", "1.0.rc"}},
      {P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE, {"1.0", "<", "1.0foo", "<", "1.0p1"}},
      // Every hyphen after a component is a mark; the ranks in order.
      {ALPHA_AS_POST_RELEASE, {"1.0", "<", "1.0-", "<", "1.0a", "<", "1.0+", "<", "1.0-1-", "<",
                               "1.0.0", "<", "1.0.B", "<", "1.0.a"}},
  });
}

TEST(Compare, LetterSuffix) {
  expect_chains({
      {0, {"1.0", "<", "1.0a", "=", "1.0A", "<", "1.0b", "<", "1.0z", "<", "1.0.1"}},
      {0, {"1.2.3", "<", "1.2.3b-1", "<", "1.2.4"}},
      // After a separator, or before a digit, or longer: a pre-release word.
      {0, {"1.0.a", "<", "1.0", "<", "1.0a"}},
      {0, {"1.0a1", "=", "1.0.a1", "=", "1.0alpha1", "<", "1.0"}},
      {0, {"1.0ab", "=", "1.0.a", "<", "1.0"}},
      {0, {"", "<", "0", "<", "0a", "<", "0.1"}},
      {0, {"1", "<", "v1a", "=", "1a", "<", "1.1"}},
      {0, {"1a.b", "<", "1a"}},
      // The suffix rule comes before the p rule; post-releases by the whole word.
      {0, {"1.0", "<", "1.0p", "<", "1.0p.1", "<", "1.0patch1", "<", "1.0pl1", "<", "1.0post1"}},
  });
}

TEST(Compare, PostReleaseWords) {
  expect_chains({
      {0, {"1.0", "<", "1.0errata1", "=", "1.0.ERRATA.1", "<", "1.0patch1", "<", "1.0PL1",
           "<", "1.0.Post1", "<", "1.0rev1", "=", "1.0.REV.1", "<", "1.0.1"}},
      // Only a pre-release takes its number after a hyphen.
      {0, {"1.0rev", "<", "1.0-REV-1", "<", "1.0rev1"}},
      // Only the whole words.
      {0, {"1.0.erratum", "<", "1.0.pos", "=", "1.0.posts", "=", "1.0.patches", "=", "1.0.plus",
           "=", "1.0.pre", "<", "1.0.revision", "<", "1.0"}},
  });
}

TEST(Compare, PLetter) {
  expect_chains({
      {0, {"1.0.p1", "=", "1.0P1", "=", "1.0p1", "=", "1.0pre1", "<", "1.0rc1", "<", "1.0"}},
      {P_LETTER_AS_PATCH, {"1.0pre1", "<", "1.0", "<", "1.0.P1", "=", "1.0p1", "=",
                           "1.0patch1", "<", "1.0rev1"}},
      // Whichever rule makes it a post-release, p is patch.
      {P_LETTER_AS_PATCH, {"1.0", "<", "1.0+p", "=", "1.0+patch", "<", "1.0+pl", "<", "1.0p", "=",
                           "1.0patch", "<", "1.0pl"}},
  });
}

// Only the last hyphen opens a revision: any hyphen after it, whatever
// follows it, makes it a hyphen mark, but not one that a platform token cuts
// away.
TEST(Compare, OnlyTheLastHyphenOpensARevision) {
  expect_chains({
      {0, {"1.0-1", "=", "1.0-1-linux", "<", "1.0-1-a", "<", "1.0-1-2"}},
      {ALPHA_AS_POST_RELEASE, {"1.0-1", "<", "1.0-1-2", "<", "1.0-1-a", "<", "1.0-1-linux"}},
      // Revisions that differ in number, with a later hyphen after the smaller, the larger,
      // both or neither.
      {0, {"1.0-3", "=", "1.0-3-linux", "<", "1.0-5", "<", "1.0-10-linux", "<", "1.0-2-1", "<",
           "1.0-9-1"}},
      {ALPHA_AS_POST_RELEASE, {"1.0-3", "<", "1.0-5", "<", "1.0-2-1", "<", "1.0-3-linux", "<",
                               "1.0-9-1"}},
      // A name's first hyphen before a digit stays a revision mark, past an epoch too.
      {0, {"1:log4j-2.0-rc1", "<", "1:log4j-2.0", "<", "1:log4j-2.0-1", "<", "1:log4j-2.0.1"}},
  });
}

// A platform token after a dotted number ends the string before its
// separators: the numbers after it or in it are not read.
TEST(Compare, PlatformSuffix) {
  expect_chains({
      {0, {"1.2-jammy1", "<", "1.2-linuxx", "<", "1.2", "=", "1.2-linux-3", "=", "1.2-linux-4",
           "=", "1.2.linux64", "=", "1.2_x86_64", "<", "1.2.1"}},
      {0, {"12-linux", "<", "12"}},
      {ALPHA_AS_POST_RELEASE, {"1.2", "<", "1.2-linux"}},
  });
}

// A word after a release word dropped after a number, or right after a
// pre-release word, extends it, but for dev, snapshot and a release word
// after a pre-release word.
TEST(Compare, WordsAfterReleaseAndPreReleaseWords) {
  expect_chains({
      {0, {"1.0-rc.dev", "<", "1.0-rc.SNAPSHOT", "<", "1.0-rc", "=", "1.0-rc.final", "<",
           "1.0-rc.x", "<", "1.0"}},
      {0, {"1.0", "=", "1.0.RELEASE", "<", "1.0.RELEASE.a", "<", "1.0.RELEASE.final", "<",
           "1.0.1"}},
  });
}

TEST(Compare, ReleaseWords) {
  expect_chains({
      {0, {"1.0", "=", "1.0.Final", "=", "1.0.RELEASE", "=", "1.0-ga", "=", "1.0GA", "=",
           "1.0final", "<", "1.0.0.final.0", "=", "1.0.0.0"}},
      // A release word holds no place.
      {0, {"1.0.1", "<", "1.final.1", "=", "1.GA.1", "=", "1.1"}},
      {0, {"1.0.finals", "=", "1.0.f", "<", "1.0.gamma", "=", "1.0.g", "<", "1.0.releases",
           "<", "1.0"}},
      {P_LETTER_AS_PATCH, {"1.0", "=", "1.0.final"}},
  });
}

TEST(Compare, PreReleaseWords) {
  expect_chains({
      {0, {"1.0.dev", "=", "1.0.DEVEL", "=", "1.0.Development", "<", "1.0.a", "=", "1.0.alpha",
           "=", "1.0.ALPHA", "<", "1.0.b", "=", "1.0.beta", "<", "1.0.d", "=", "1.0.delta", "<",
           "1.0.milestone", "<", "1.0.pre", "<", "1.0.rc", "<", "1.0.snapshot", "<", "1.0.z",
           "<", "1.0"}},
      {0, {"1.0.dev2", "<", "1.0.dev10", "<", "1.0a1"}},
  });
}

// cr is a candidate release, as rc is, but only the whole word and only as a
// pre-release; sp is a service pack, after the release.
TEST(Compare, CandidateReleasesAndServicePacks) {
  expect_chains({
      {0, {"1.0.c1", "=", "1.0.crx1", "<", "1.0.pre1", "<", "1.0.CR1", "=", "1.0cR1", "=",
           "1.0.0.rc1", "<", "1.0.cr2", "<", "1.0.snapshot", "<", "1.0"}},
      {0, {"1.0+b", "<", "1.0+cr", "<", "1.0+d"}},
      {ALPHA_AS_POST_RELEASE, {"1.0.CR", "<", "1.0.b", "<", "1.0.c", "<", "1.0.rc"}},
      {0, {"1.0.s", "=", "1.0.spx", "<", "1.0s1", "<", "1.0", "<", "1.0.0.SP1", "<", "1.0.SP1",
           "=", "1.0sp1", "<", "1.0.sp2", "<", "1.0.1"}},
  });
}

// A file name's extension chain is not read, whatever its names' case, however
// long; a name elsewhere, or one not listed, is a word.
TEST(Compare, ExtensionChains) {
  std::string tars;
  for (int i = 0; i < 20000; ++i) tars += ".tar";
  expect_chains({
      {0, {"foo-1.2rc1.jar", "<", "foo-1.2.jar", "=", "foo-1.2.zip", "=", "foo-1.2.TAR.GZ", "=",
           "foo-1.2", "<", "foo-1.10.Jar"}},
      {0, {"1.0.bz3", "<", "1.0", "=", "1.0.7z", "=", "1.0.bz2", "=", "1.0.tbz2", "<",
           "1.0.7.bz3", "<", "1.0.7", "=", "1.0.7.7Z"}},
      // A word right after a pre-release word extends it: the x after tar.
      {0, {"1.0.targz", "<", "1.0.tar.x", "<", "1.0", "=", "1.0.tar", "=", "1.0..tar", "<",
           "1.0.1"}},
      {0, {"1.0.bz\x12", "<", "1.0.TBZ\x12", "<", "1.0", "=", "1.0.Tbz2"}},
      {0, {"foo.tar.gz-1.0", "<", "foo-1.0"}},
      // What is left may end in a platform token (sources), which goes too.
      {0, {"1.0.beta.jar", "<", "1.0.sources.jar", "=", "1.0.jar", "<", "1.0-1.el9.rpm"}},
      {0, {"tar.gz", "=", "tar", "<", ".tar.gz", "=", ""}},
      {0, {"1.0" + tars + ".x", "<", "1.0" + tars + ".y", "<", "1.0", "=", "1.0" + tars, "=",
           "1.0" + tars + ".GZ", "<", "1.0.1" + tars}},
  });
}

TEST(Compare, NumbersByValue) {
  std::string ten499 = "1" + std::string(499, '0');
  std::string next = ten499;
  next.back() = '1';
  expect_chains({
      {0, {"0009", "<", "10", "=", "010", "=", "00000000000000000000000000000010"}},
      {0, {"1.09", "=", "1.9", "<", "1.010", "=", "1.10"}},
      // Values that wrap or saturate in a machine integer.
      {0, {"2", "<", "4294967297", "<", "18446744073709551615", "<", "18446744073709551616",
           "<", "18446744073709551617", "<", "36893488147419103232"}},
      {0, {"1.123456789012345678901234567890", "<", "1.123456789012345678901234567891", "<",
           "1.223456789012345678901234567890"}},
      {0, {std::string(499, '9'), "<", ten499, "=", std::string(1000, '0') + ten499, "<", next,
           "<", "2" + std::string(499, '0'), "<", std::string(501, '1'), "<",
           "v2" + std::string(500, '0')}},
  });
}

TEST(Compare, EachStringHasItsOwnFlags) {
  struct Row {
    const char *a;
    int a_flags;
    const char *b;
    int b_flags;
    int want;
  };
  const Row rows[] = {
      {"1.0p1", P_LETTER_AS_PATCH, "1.0p1", 0, 1},
      {"1.0p1", 0, "1.0p1", P_LETTER_AS_PATCH, -1},
      {"1.0foo", ALPHA_AS_POST_RELEASE, "1.0foo", 0, 1},
      {"1.0foo", P_LETTER_AS_PATCH, "1.0", 0, -1},
      {"1.0p1", 3, "1.0", 0, 1},
      {"1.0final", ALPHA_AS_POST_RELEASE, "1.0", ALPHA_AS_POST_RELEASE, 1},
      {"1.0final", 0, "1.0", ALPHA_AS_POST_RELEASE, 0},
      // Other bits are ignored.
      {"1.0p1", 4, "1.0", 0, -1},
      {"1.0p1", ~3, "1.0", 0, -1},
      {"1.0p1", INT_MIN, "1.0", 0, -1},
      {"1.0p1", -1, "1.0", 0, 1},
      {"1.0foo", 0x100 | ALPHA_AS_POST_RELEASE, "1.0", 0, 1},
  };
  for (const Row &r : rows) {
    EXPECT_EQ(sign(quenorbial_compare4(r.a, r.b, r.a_flags, r.b_flags)), r.want)
        << r.a << "/" << r.a_flags << " vs " << r.b << "/" << r.b_flags;
    EXPECT_EQ(sign(quenorbial_compare4(r.b, r.a, r.b_flags, r.a_flags)), -r.want)
        << r.b << "/" << r.b_flags << " vs " << r.a << "/" << r.a_flags;
  }
}

// Properties over many strings, each read with its own flags.

struct Item {
  std::string s;
  int flags;
};

int cmp(const Item &a, const Item &b) {
  return sign(quenorbial_compare4(a.s.c_str(), b.s.c_str(), a.flags, b.flags));
}

std::string show(const Item &x) {
  return testing::PrintToString(x.s) + "/" + std::to_string(x.flags);
}

// A string of numbers, letters, the words with a meaning and separators,
// sometimes a file name.
std::string random_version(std::mt19937 &rng) {
  static const char *const kWords[] = {
      "alpha", "beta", "rc", "pre", "dev", "devel", "snapshot", "milestone", "post", "patch",
      "pl", "errata", "rev", "final", "release", "ga", "p", "v", "foo", "a", "z", "cr", "sp",
      "ubuntu", "build", "el"};
  static const char *const kExtensions[] = {".tar.gz", ".jar", ".zip", ".7z", ".bz2", ".TGZ"};
  static const char kSeparators[] = ".-_ +^~/\x01\xff";
  auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  std::string s;
  if (pick(6) == 0) s += pick(2) != 0u ? 'v' : 'V';
  for (std::size_t n = pick(7); n > 0; --n) {
    switch (pick(4)) {
      case 0:
        s.append(pick(3), '0');
        for (std::size_t d = pick(4) == 0 ? pick(25) : pick(3) + 1; d > 0; --d) {
          s += static_cast<char>('0' + pick(10));
        }
        break;
      case 1:
        s += static_cast<char>((pick(2) != 0u ? 'a' : 'A') + pick(26));
        break;
      case 2: {
        std::string w = kWords[pick(sizeof kWords / sizeof *kWords)];
        for (char &c : w) if (pick(4) == 0) c = static_cast<char>(c - 'a' + 'A');
        s += w;
        break;
      }
      default:
        s.append(pick(3) + 1, kSeparators[pick(sizeof kSeparators - 1)]);
    }
  }
  if (pick(6) == 0) s += kExtensions[pick(sizeof kExtensions / sizeof *kExtensions)];
  return s;
}

// Sorts the items, then checks that every pair compares as its place in the
// sorted sequence says: equal within a run of equals, less across runs. With
// antisymmetry this holds exactly when the order is a total preorder.
void expect_total_preorder(std::vector<Item> items) {
  for (const Item &x : items) ASSERT_EQ(cmp(x, x), 0) << show(x);
  std::stable_sort(items.begin(), items.end(),
                   [](const Item &a, const Item &b) { return cmp(a, b) < 0; });
  std::vector<std::size_t> run(items.size(), 0);
  for (std::size_t i = 1; i < items.size(); ++i) {
    run[i] = run[i - 1] + (cmp(items[i - 1], items[i]) < 0 ? 1 : 0);
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    for (std::size_t j = i + 1; j < items.size(); ++j) {
      int want = run[i] == run[j] ? 0 : -1;
      int got = cmp(items[i], items[j]);
      int back = cmp(items[j], items[i]);
      if (got != want || back != -want) {
        FAIL() << show(items[i]) << " vs " << show(items[j]) << ": " << got << " and " << back
               << ", their places say " << want;
      }
    }
  }
}

// Random triples: a <= b <= c gives a <= c, strictly when either step is.
void expect_transitive_triples(const std::vector<Item> &items, std::mt19937 &rng) {
  for (int n = 0; n < 20000; ++n) {
    const Item &a = items[rng() % items.size()];
    const Item &b = items[rng() % items.size()];
    const Item &c = items[rng() % items.size()];
    int ab = cmp(a, b), bc = cmp(b, c);
    if (ab <= 0 && bc <= 0) {
      int ac = cmp(a, c);
      ASSERT_LE(ac, 0) << show(a) << " <= " << show(b) << " <= " << show(c);
      if (ab < 0 || bc < 0) {
        ASSERT_LT(ac, 0) << show(a) << " < " << show(b) << " < " << show(c);
      }
    }
  }
}

// A string that opens with a v is read past it, the other from its start:
// what one reading learnt of the bytes behind must not send the other's
// before its first byte.
TEST(CompareProperties, NothingIsReadBeforeEitherString) {
  std::mt19937 rng(20261209);
  for (int n = 0; n < 2000; ++n) {
    std::string b = random_version(rng);
    std::string a = (n == 0 ? std::string("1.a.b") : b + random_version(rng));
    if (n == 0) b = "1.a.c";
    a = "v1" + a;
    b = "1" + b;
    Guarded ga(a, Edge::kBefore);
    Guarded gb(b, Edge::kBefore);
    int want = sign(quenorbial_compare4(a.c_str(), b.c_str(), 0, 0));
    EXPECT_EQ(sign(quenorbial_compare4(ga.c_str(), gb.c_str(), 0, 0)), want)
        << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
    EXPECT_EQ(sign(quenorbial_compare4(gb.c_str(), ga.c_str(), 0, 0)), -want)
        << testing::PrintToString(b) << " vs " << testing::PrintToString(a);
  }
}

// The common bytes are read two a turn: neither string's end may be passed,
// whether it falls on the first byte of a turn or on the second.
TEST(CompareProperties, NothingIsReadPastEitherEnd) {
  const std::string whole = "1.2.3-4";
  for (std::size_t n = 0; n <= whole.size(); ++n) {
    const std::string s = whole.substr(0, n);
    for (const std::string &t : {s, s + "5", whole}) {
      Guarded a(s);
      Guarded b(t);
      int want = s == t ? 0 : sign(quenorbial_compare4(s.c_str(), t.c_str(), 0, 0));
      EXPECT_EQ(sign(quenorbial_compare4(a.c_str(), b.c_str(), 0, 0)), want)
          << testing::PrintToString(s) << " vs " << testing::PrintToString(t);
      EXPECT_EQ(sign(quenorbial_compare4(b.c_str(), a.c_str(), 0, 0)), -want)
          << testing::PrintToString(t) << " vs " << testing::PrintToString(s);
    }
  }
}

TEST(CompareProperties, GeneratedStrings) {
  std::mt19937 rng(20240601);
  std::vector<Item> items;
  for (int i = 0; i < 3000; ++i) {
    items.push_back({random_version(rng), static_cast<int>(rng() % 4)});
  }
  expect_total_preorder(items);
  expect_transitive_triples(items, rng);
}

TEST(CompareProperties, RealStrings) {
  std::ifstream in(CORPUS_SAMPLE);
  ASSERT_TRUE(in) << CORPUS_SAMPLE;
  std::vector<Item> items;
  for (std::string s; std::getline(in, s);) {
    items.push_back({s, static_cast<int>(items.size() % 4)});
  }
  ASSERT_GT(items.size(), 1000u);
  expect_total_preorder(items);
  std::mt19937 rng(7);
  expect_transitive_triples(items, rng);
}

}  // namespace
