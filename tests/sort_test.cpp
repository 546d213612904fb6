// VersionList::sort: every line kept, in the order of less(), whatever order
// the lines come in, short and long lines and repeats alike.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "quenorbial.h"
#include "support.h"
#include "version_list.h"

namespace {

using support::first_difference;
using support::join;
using support::list_of;
using support::same_lines;
using support::texts;

// Each line against the one above it.
void expect_in_order(const VersionList &list) {
  if (std::size_t i = support::first_out_of_order(list)) {
    const auto &l = list.lines();
    ADD_FAILURE() << "line " << i << ": " << testing::PrintToString(std::string(l[i].view()))
                  << " before " << testing::PrintToString(std::string(l[i - 1].view()));
  }
}

// Sorts `lines` through a list and checks it against std::sort of copies by
// the same order: version, then bytes.
void expect_sorted_like_copies(std::vector<std::string> lines) {
  VersionList list = list_of(join(lines));
  ASSERT_EQ(list.sort(), 0);
  std::sort(lines.begin(), lines.end(),
            [](const std::string &a, const std::string &b) {
              int r = quenorbial_compare4(a.c_str(), b.c_str(), 0, 0);
              return r != 0 ? r < 0 : a < b;
            });
  EXPECT_EQ(first_difference(list, lines), "");
}

TEST(Sort, KeepsEveryCopyTogether) {
  VersionList list = list_of("1.0\n2\n1.0\n1.0.0\n1.0\n\n");
  ASSERT_EQ(list.sort(), 0);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"", "1.0", "1.0", "1.0", "1.0.0", "2"}));
  VersionList none = list_of("");
  ASSERT_EQ(none.sort(), 0);
  EXPECT_TRUE(none.lines().empty());
  VersionList one = list_of("x");
  ASSERT_EQ(one.sort(), 0);
  EXPECT_EQ(texts(one), std::vector<std::string>{"x"});
}

TEST(Sort, ResultDependsOnlyOnTheLines) {
  std::mt19937 rng(42);
  for (int flags = 0; flags < 4; ++flags) {
    std::vector<std::string> lines = support::random_lines(rng, 3000);
    std::vector<std::string> first;
    for (int round = 0; round < 4; ++round) {
      std::shuffle(lines.begin(), lines.end(), rng);
      VersionList list = list_of(join(lines), flags);
      ASSERT_EQ(list.sort(), 0);
      expect_in_order(list);
      std::vector<std::string> got = texts(list);
      if (round == 0) {
        first = got;
        EXPECT_TRUE(same_lines(got, lines)) << "the lines are not the ones read";
      } else {
        EXPECT_TRUE(got == first) << "flags " << flags << ", shuffle " << round;
      }
    }
  }
}

// Stretches already in order or in reverse, of many lengths, as the sort
// takes them whole: every line must come out, in order.
TEST(Sort, StretchesInOrderAndInReverse) {
  std::mt19937 rng(7);
  auto version = [](std::size_t i) { return "1." + std::to_string(i); };
  for (std::size_t n : {2u, 3u, 7u, 8u, 9u, 17u, 100u, 1000u, 5000u}) {
    std::vector<std::vector<std::string>> inputs(6);
    for (std::size_t i = 0; i < n; ++i) {
      inputs[0].push_back(version(i));                              // ascending
      inputs[1].push_back(version(n - i));                          // descending
      inputs[2].push_back(version(i < n / 2 ? i : n - i));          // up, then down
      inputs[3].push_back(version(i % 9 == 8 ? n - i : i));         // ascending, a few out
      inputs[4].push_back(version((n - i) / 3));                    // descending in threes
      inputs[5].push_back(version(i < n - n / 5 ? i : rng() % n));  // a shuffled tail
    }
    for (std::size_t run : {1u, 2u, 7u, 8u, 9u, 100u}) {
      std::vector<std::string> saw;  // runs of `run` lines, up and down in turn
      for (std::size_t i = 0; i < n; ++i) {
        std::size_t k = i % run;
        saw.push_back(version(i / run % 2 == 0 ? k : 2 * run - k));
      }
      inputs.push_back(saw);
    }
    for (std::size_t c = 0; c < inputs.size(); ++c) {
      VersionList list = list_of(join(inputs[c]));
      ASSERT_EQ(list.sort(), 0);
      SCOPED_TRACE(testing::Message() << n << " lines, case " << c);
      expect_in_order(list);
      EXPECT_TRUE(same_lines(texts(list), inputs[c])) << "the lines are not the ones read";
    }
  }
}

TEST(Sort, RealStrings) {
  int fd = open(CORPUS_SAMPLE, O_RDONLY);
  ASSERT_GE(fd, 0) << CORPUS_SAMPLE;
  VersionList list(0);
  EXPECT_EQ(list.read_lines(fd), 0);
  close(fd);
  std::size_t n = list.lines().size();
  ASSERT_GT(n, 1000u);
  ASSERT_EQ(list.sort(), 0);
  EXPECT_EQ(list.lines().size(), n);
  expect_in_order(list);
}

// The sort moves elements; short lines move their bytes along, long lines
// their pointers. The result must match a sort of copies by the same order.
TEST(Sort, InlineAndLongLinesTogether) {
  std::mt19937 rng(11);
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) {
    std::string s = "1";
    for (std::size_t parts = rng() % 12; parts > 0; --parts) {
      s += '.' + std::to_string(rng() % 12);
    }
    if (rng() % 5 == 0) s += "rc" + std::to_string(rng() % 3);
    if (rng() % 7 == 0) s += '\0' + std::to_string(rng() % 3);
    lines.push_back(s);
  }
  expect_sorted_like_copies(std::move(lines));
}

// The merge takes repeats of the line it just took without comparing them:
// lines equal as versions but not in bytes must still come apart, and long
// repeats are told by their bytes, not their pointers.
TEST(Sort, RepeatsLikeTheirCopies) {
  const std::string kinds[] = {"1.0", "1.0.0", "v1.0",
                               std::string("1.0\0x", 5), std::string("1.0\0y", 5),
                               "2.0rc1", "1.0.0.0.0.0.0.0.0", "1.0.0.0.0.0.0.0.0.0",
                               std::string(40, '7'), ""};
  std::mt19937 rng(3);
  std::vector<std::string> lines;
  for (int i = 0; i < 30000; ++i) lines.push_back(kinds[rng() % 10]);
  expect_sorted_like_copies(std::move(lines));
}

}  // namespace
