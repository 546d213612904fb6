// VersionList: reading lines, ordering them, sorting and the verbose listing.
#include "version_list.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "quenorbial.h"

using namespace std::string_literals;

namespace {

enum class Source { kFile, kPipe };

// Hands `data` to read_lines through a temporary file or a pipe.
int feed(VersionList &list, const std::string &data, Source source) {
  if (source == Source::kFile) {
    std::FILE *f = std::tmpfile();
    if (f == nullptr || std::fwrite(data.data(), 1, data.size(), f) != data.size() ||
        std::fflush(f) != 0 || lseek(fileno(f), 0, SEEK_SET) != 0) {
      ADD_FAILURE() << "temporary file";
      return -1;
    }
    int err = list.read_lines(fileno(f));
    std::fclose(f);
    return err;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    ADD_FAILURE() << "pipe";
    return -1;
  }
  std::thread writer([&data, fd = fds[1]] {
    for (std::size_t done = 0; done < data.size();) {
      ssize_t n = write(fd, data.data() + done, data.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fd);
  });
  int err = list.read_lines(fds[0]);
  writer.join();
  close(fds[0]);
  return err;
}

VersionList list_of(const std::string &data, int flags = 0) {
  VersionList list(flags);
  EXPECT_EQ(feed(list, data, Source::kFile), 0);
  return list;
}

std::vector<std::string> texts(const VersionList &list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.lines().size(); ++i) out.emplace_back(list.lines()[i].view());
  return out;
}

std::string join(const std::vector<std::string> &lines) {
  std::string s;
  for (const std::string &l : lines) s += l + "\n";
  return s;
}

std::string verbose(const VersionList &list) {
  char *buf = nullptr;
  std::size_t len = 0;
  std::FILE *out = open_memstream(&buf, &len);
  if (out == nullptr) {
    ADD_FAILURE() << "open_memstream";
    return {};
  }
  list.print_verbose(out);
  std::fclose(out);
  std::string s(buf, len);
  std::free(buf);
  return s;
}

// Lines that are often equal as versions but not in bytes, repeats included.
std::vector<std::string> random_lines(std::mt19937 &rng, std::size_t n) {
  static const std::string kPool[] = {
      "1.0", "1.0.0", "1-0", "v1.0", "1.00", "1.0\r", "1.0\0x"s, "1.0\0y"s, "", "0", "alpha",
      "1.0a", "1.0p1", "1.0foo", "1.10", "1.9", "2.0", "10", "1.0rc1", "1.0.Final", "\xff",
      "\x80" "1"};
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < n; ++i) {
    if (rng() % 3 == 0) {
      lines.push_back(std::to_string(rng() % 20) + "." + std::to_string(rng() % 20));
    } else {
      lines.push_back(kPool[rng() % (sizeof kPool / sizeof *kPool)]);
    }
  }
  return lines;
}

void expect_sorted(const VersionList &list) {
  const auto &l = list.lines();
  for (std::size_t i = 1; i < l.size(); ++i) {
    ASSERT_FALSE(list.less(l[i], l[i - 1]))
        << "line " << i << ": " << testing::PrintToString(std::string(l[i].view()))
        << " before " << testing::PrintToString(std::string(l[i - 1].view()));
  }
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

TEST(Sort, KeepsEveryCopyTogether) {
  VersionList list = list_of("1.0\n2\n1.0\n1.0.0\n1.0\n\n");
  list.sort();
  EXPECT_EQ(texts(list), (std::vector<std::string>{"", "1.0", "1.0", "1.0", "1.0.0", "2"}));
  VersionList none = list_of("");
  none.sort();
  EXPECT_TRUE(none.lines().empty());
  VersionList one = list_of("x");
  one.sort();
  EXPECT_EQ(texts(one), std::vector<std::string>{"x"});
}

TEST(Sort, ResultDependsOnlyOnTheLines) {
  std::mt19937 rng(42);
  for (int flags = 0; flags < 4; ++flags) {
    std::vector<std::string> lines = random_lines(rng, 3000);
    std::vector<std::string> first;
    for (int round = 0; round < 4; ++round) {
      std::shuffle(lines.begin(), lines.end(), rng);
      VersionList list = list_of(join(lines), flags);
      list.sort();
      expect_sorted(list);
      std::vector<std::string> got = texts(list);
      if (round == 0) {
        first = got;
        std::vector<std::string> a = got, b = lines;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_TRUE(a == b) << "the lines are not the ones read";
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
      list.sort();
      SCOPED_TRACE(testing::Message() << n << " lines, case " << c);
      expect_sorted(list);
      std::vector<std::string> got = texts(list), want = inputs[c];
      std::sort(got.begin(), got.end());
      std::sort(want.begin(), want.end());
      EXPECT_TRUE(got == want) << "the lines are not the ones read";
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
  list.sort();
  EXPECT_EQ(list.lines().size(), n);
  expect_sorted(list);
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
    list.sort();
    EXPECT_EQ(verbose(list), c.want) << testing::PrintToString(c.in);
  }
}

TEST(PrintVerbose, RepeatsExactlyWhenIdentical) {
  std::mt19937 rng(3);
  for (int round = 0; round < 20; ++round) {
    int flags = round % 4;
    VersionList list = list_of(join(random_lines(rng, 500)), flags);
    list.sort();
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
