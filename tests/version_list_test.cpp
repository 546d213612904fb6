// VersionList: reading lines, ordering them and the verbose listing.
#include "version_list.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "quenorbial.h"
#include "support.h"

using namespace std::string_literals;

namespace {

using support::feed;
using support::join;
using support::list_of;
using support::Source;
using support::texts;

std::string verbose(const VersionList &list) {
  return support::capture(
      [&list](std::FILE *out) { EXPECT_EQ(list.print_verbose(out), 0); });
}

TEST(ReadLines, SplitsAtLineFeedsOnly) {
  struct Case {
    std::string in;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"", {}},
      {"a\n\nb", {"a", "", "b"}},
      {"1.0\r\n", {"1.0\r"}},
      {"a\r\nb\r", {"a\r", "b\r"}},
      {"a\n", {"a"}},
      {"x", {"x"}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a\0b\n\0\n"s, {"a\0b"s, "\0"s}},
  };
  for (const Case &c : cases) {
    for (Source source : {Source::kFile, Source::kPipe}) {
      VersionList list(0);
      EXPECT_EQ(feed(list, c.in, source), 0);
      EXPECT_EQ(texts(list), c.want) << testing::PrintToString(c.in);
    }
  }
}

TEST(ReadLines, InputsAppendInOrder) {
  VersionList list(0);
  EXPECT_EQ(feed(list, "b\na\n", Source::kFile), 0);
  EXPECT_EQ(feed(list, "c", Source::kPipe), 0);
  EXPECT_EQ(feed(list, "", Source::kFile), 0);
  EXPECT_EQ(feed(list, "z\n", Source::kPipe), 0);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"b", "a", "c", "z"}));
}

TEST(ReadLines, DirectoryFailsWithEISDIRAndKeepsLines) {
  VersionList list(0);
  EXPECT_EQ(feed(list, "1\n", Source::kFile), 0);
  int fd = open(".", O_RDONLY);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(list.read_lines(fd), EISDIR);
  close(fd);
  EXPECT_EQ(feed(list, "2\n", Source::kPipe), 0);
  EXPECT_EQ(texts(list), (std::vector<std::string>{"1", "2"}));
}

TEST(ReadLines, LargeInputOverManyBlocks) {
  // Lengths that fall across every block edge, and one line longer than the
  // first blocks together.
  std::vector<std::string> want;
  std::size_t total = 0;
  for (std::size_t i = 0; total < (3u << 20); ++i) {
    std::size_t len = i == 100 ? 300000 : (i * 7919) % 4099;
    std::string line(len, '\0');
    for (std::size_t k = 0; k < len; ++k) {
      char c = static_cast<char>((i + k * 31) % 256);
      line[k] = c == '\n' ? 'n' : c;
    }
    total += len + 1;
    want.push_back(std::move(line));
  }
  std::string data = join(want);
  data.pop_back();  // the last line without its line feed
  for (Source source : {Source::kPipe, Source::kFile}) {
    VersionList list(0);
    EXPECT_EQ(feed(list, data, source), 0);
    ASSERT_EQ(list.lines().size(), want.size());
    EXPECT_TRUE(texts(list) == want);
  }
}

TEST(Less, VersionFirstThenBytes) {
  struct Case {
    int flags;
    std::string a, b;  // a orders strictly before b
  };
  const Case cases[] = {
      {0, "1.9", "1.10"},
      {0, "alpha", ""},
      {0, "1.0p1", "1.0"},
      // Equal as versions: bytes decide, a prefix first.
      {0, "1.0", "1.0.0"},
      {0, "1-0", "1.0"},
      {0, "1.0", "v1.0"},
      {0, "2.0", "2.0\0"s},
      {0, "2.0\0a"s, "2.0\0b"s},
      {0, "1.0\x7f", "1.0\x80"},
      {0, "1.0\x01", "1.0\xff"},
      // The list's flags reach the library for both lines.
      {P_LETTER_AS_PATCH, "1.0", "1.0p1"},
      {P_LETTER_AS_PATCH, "1.0foo", "1.0"},
      {ALPHA_AS_POST_RELEASE, "1.0", "1.0foo"},
      {P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE, "1.0", "1.0p1"},
      {P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE, "1.0", "1.0foo"},
  };
  for (const Case &c : cases) {
    for (bool a_first : {true, false}) {
      // The second line has no line feed, yet ends where it ends.
      const std::string &first = a_first ? c.a : c.b, &second = a_first ? c.b : c.a;
      VersionList list = list_of(first + "\n" + second + (second.empty() ? "\n" : ""), c.flags);
      ASSERT_EQ(list.lines().size(), 2u);
      const auto &a = list.lines()[a_first ? 0 : 1];
      const auto &b = list.lines()[a_first ? 1 : 0];
      std::string pair = testing::PrintToString(c.a) + " and " + testing::PrintToString(c.b);
      EXPECT_TRUE(list.less(a, b)) << pair;
      EXPECT_FALSE(list.less(b, a)) << pair;
    }
  }
}

TEST(Less, IdenticalLinesAreNotLess) {
  VersionList list = list_of("1.0\0x\n1.0\0x"s);
  const auto &l = list.lines();
  EXPECT_FALSE(list.less(l[0], l[1]));
  EXPECT_FALSE(list.less(l[1], l[0]));
  EXPECT_FALSE(list.less(l[0], l[0]));
}

TEST(PrintVerbose, Markers) {
  struct Case {
    int flags;
    std::string in, want;
  };
  const Case cases[] = {
      {0, "", ""},
      {0, "1.0\n1.0\n1.0\n", "1.0 (<)\n1.0 (==)\n1.0 (==)\n"},
      {0, "1.0.0\n1.0\n", "1.0 (<)\n1.0.0 (<)\n"},
      {0, "2\n\n1\n", " (==)\n1 (<)\n2 (<)\n"},
      {0, "\n\n", " (==)\n (==)\n"},
      {0, "0\n", "0 (<)\n"},
      {0, "alpha\n", "alpha (==)\n"},
      {0, "\nalpha\n", "alpha (==)\n (<)\n"},
      {0, "1.0\r\n1.0\r\n", "1.0\r (<)\n1.0\r (==)\n"},
      {0, "2.0\0b\n2.0\0a\n2.0\n"s, "2.0 (<)\n2.0\0a (<)\n2.0\0b (<)\n"s},
      {0, "1.0\n1.0p1\n", "1.0p1 (<)\n1.0 (<)\n"},
      {P_LETTER_AS_PATCH | ALPHA_AS_POST_RELEASE, "1.0p1\n1.0foo\n1.0\n1.0p1\n",
       "1.0 (<)\n1.0foo (<)\n1.0p1 (<)\n1.0p1 (==)\n"},
  };
  for (const Case &c : cases) {
    VersionList list = list_of(c.in, c.flags);
    ASSERT_EQ(list.sort(), 0);
    EXPECT_EQ(verbose(list), c.want) << testing::PrintToString(c.in);
  }
}

TEST(PrintVerbose, RepeatsExactlyWhenIdentical) {
  std::mt19937 rng(3);
  for (int round = 0; round < 20; ++round) {
    int flags = round % 4;
    VersionList list = list_of(join(support::random_lines(rng, 500)), flags);
    ASSERT_EQ(list.sort(), 0);
    std::vector<std::string> before = texts(list);
    std::string out = verbose(list);
    EXPECT_TRUE(texts(list) == before) << "print_verbose changed the list";
    std::size_t i = 0;
    for (std::size_t pos = 0; pos < out.size(); ++i) {
      std::size_t nl = out.find('\n', pos);
      ASSERT_NE(nl, std::string::npos);
      ASSERT_LT(i, before.size());
      std::string got = out.substr(pos, nl - pos);
      if (i == 0) {
        EXPECT_TRUE(got == before[0] + " (<)" || got == before[0] + " (==)") << got;
      } else {
        bool repeat = before[i] == before[i - 1];
        EXPECT_EQ(got, before[i] + (repeat ? " (==)" : " (<)")) << "line " << i << ", flags "
                                                                 << flags;
      }
      pos = nl + 1;
    }
    EXPECT_EQ(i, before.size());
  }
}

}  // namespace
