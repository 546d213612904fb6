// How VersionList holds lines: short ones inside the element, long ones
// behind a pointer, read in blocks that a line may outgrow.
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "line.h"
#include "quenorbial.h"
#include "support.h"
#include "version_list.h"

namespace {

using support::feed;
using support::first_difference;
using support::join;
using support::Source;

// Every length up to past the inline limit, with NUL, CR and high bytes at
// either end, where a size kept in the last byte could clash with them.
std::vector<std::string> boundary_lines() {
  std::vector<std::string> lines;
  for (std::size_t n = 0; n <= 2 * Line::kInline + 2; ++n) {
    std::string plain(n, '5');
    lines.push_back(plain);
    if (n == 0) continue;
    std::string s = plain;
    s.back() = '\0';
    lines.push_back(s);
    s = plain;
    s.front() = '\0';
    lines.push_back(s);
    lines.push_back(std::string(n, '\0'));
    lines.push_back(std::string(n, '\xff'));
    s = plain;
    s.back() = '\r';
    lines.push_back(s);
  }
  return lines;
}

TEST(LineStorage, KeepsEveryLengthAroundTheInlineLimit) {
  std::vector<std::string> lines = boundary_lines();
  VersionList list(0);
  EXPECT_EQ(feed(list, join(lines), Source::kPipe), 0);
  EXPECT_EQ(first_difference(list, lines), "");
}

TEST(LineStorage, LinesOutgrowingTheReadBlockAndSharingChunks) {
  std::mt19937 rng(7);
  std::vector<std::string> lines;
  for (int i = 0; i < 100000; ++i) {
    std::string s(rng() % 40, 'x');
    for (char &c : s) c = static_cast<char>('0' + rng() % 10);
    lines.push_back(s);
    if (i == 500) lines.push_back(std::string(3 << 20, 'a'));  // 3 MiB
    if (i == 900) lines.push_back(std::string(70 << 10, 'b'));  // 70 KiB
  }
  std::string data = join(lines);
  data.pop_back();  // the last line without its line feed still counts
  VersionList list(0);
  EXPECT_EQ(feed(list, data, Source::kPipe), 0);
  EXPECT_EQ(first_difference(list, lines), "");
}

// Enough long lines to fill shared chunks of every size they grow through,
// and enough lines that their array is copied as it grows; the list moved
// halfway goes on where it was.
TEST(LineStorage, LinesFillingGrowingChunksAndAnArrayCopiedAsItGrows) {
  std::mt19937 rng(11);
  std::vector<std::string> first;
  std::vector<std::string> second;
  for (int i = 0; i < 600000; ++i) {
    std::string s(rng() % 60, 'x');
    for (char &c : s) c = static_cast<char>('0' + rng() % 10);
    (i < 300000 ? first : second).push_back(s);
  }
  VersionList from(0);
  EXPECT_EQ(feed(from, join(first), Source::kFile), 0);
  VersionList list(std::move(from));
  EXPECT_EQ(feed(list, join(second), Source::kPipe), 0);
  first.insert(first.end(), second.begin(), second.end());
  EXPECT_EQ(first_difference(list, first), "");
}

TEST(LineStorage, AppendsAcrossInputs) {
  std::vector<std::string> first = boundary_lines();
  std::vector<std::string> second = {"2.0", std::string(20, '9'), ""};
  VersionList list(0);
  EXPECT_EQ(feed(list, join(first), Source::kPipe), 0);
  EXPECT_EQ(feed(list, join(second), Source::kPipe), 0);
  first.insert(first.end(), second.begin(), second.end());
  EXPECT_EQ(first_difference(list, first), "");
}

TEST(LineStorage, MovesWithTheList) {
  std::vector<std::string> lines = boundary_lines();
  VersionList from(P_LETTER_AS_PATCH);
  EXPECT_EQ(feed(from, join(lines), Source::kPipe), 0);
  VersionList to(std::move(from));
  EXPECT_EQ(first_difference(to, lines), "");
  EXPECT_EQ(to.flags(), P_LETTER_AS_PATCH);
  EXPECT_TRUE(from.lines().empty());  // NOLINT: moved-from is empty
  VersionList again(0);
  again = std::move(to);
  EXPECT_EQ(first_difference(again, lines), "");
  EXPECT_TRUE(to.lines().empty());  // NOLINT: moved-from is empty
}

}  // namespace
