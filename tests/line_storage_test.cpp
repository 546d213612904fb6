// How VersionList holds lines: short ones inside the element, long ones
// behind a pointer, read in blocks that a line may outgrow, and written back
// through one buffer.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "output_buffer.h"
#include "quenorbial.h"
#include "version_list.h"

namespace {

using Line = VersionList::Line;

std::string join(const std::vector<std::string> &lines) {
  std::string s;
  for (const std::string &l : lines) s += l + '\n';
  return s;
}

// Feeds `data` to read_lines() through a pipe, in writes of uneven sizes, so
// that reads end in the middle of lines.
void read_through_pipe(VersionList &list, const std::string &data) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::thread writer([&data, fd = fds[1]] {
    static const std::size_t kSizes[] = {1, 7, 4096, 15, 16, 100000, 3};
    std::size_t off = 0;
    for (std::size_t k = 0; off < data.size(); ++k) {
      std::size_t n = std::min(kSizes[k % 7], data.size() - off);
      ssize_t w = write(fd, data.data() + off, n);
      if (w <= 0) break;
      off += static_cast<std::size_t>(w);
    }
    close(fd);
  });
  EXPECT_EQ(list.read_lines(fds[0]), 0);
  writer.join();
  close(fds[0]);
}

void expect_lines(const VersionList &list, const std::vector<std::string> &want) {
  ASSERT_EQ(list.lines().size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    const Line &line = list.lines()[i];
    ASSERT_EQ(line.view(), want[i]) << "line " << i;
    ASSERT_EQ(line.size(), want[i].size()) << "line " << i;
    ASSERT_EQ(line.c_str()[line.size()], '\0') << "line " << i;
  }
}

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
  read_through_pipe(list, join(lines));
  expect_lines(list, lines);
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
  read_through_pipe(list, data);
  expect_lines(list, lines);
}

TEST(LineStorage, AppendsAcrossInputs) {
  std::vector<std::string> first = boundary_lines();
  std::vector<std::string> second = {"2.0", std::string(20, '9'), ""};
  VersionList list(0);
  read_through_pipe(list, join(first));
  read_through_pipe(list, join(second));
  first.insert(first.end(), second.begin(), second.end());
  expect_lines(list, first);
}

TEST(LineStorage, MovesWithTheList) {
  std::vector<std::string> lines = boundary_lines();
  VersionList from(P_LETTER_AS_PATCH);
  read_through_pipe(from, join(lines));
  VersionList to(std::move(from));
  expect_lines(to, lines);
  EXPECT_EQ(to.flags(), P_LETTER_AS_PATCH);
  EXPECT_TRUE(from.lines().empty());  // NOLINT: moved-from is empty
  VersionList again(0);
  again = std::move(to);
  expect_lines(again, lines);
  EXPECT_TRUE(to.lines().empty());  // NOLINT: moved-from is empty
}

// Sorts `lines` through a list and checks it against std::sort by the same
// order: version, then bytes.
void expect_sorted(std::vector<std::string> lines) {
  VersionList list(0);
  read_through_pipe(list, join(lines));
  list.sort();
  std::sort(lines.begin(), lines.end(),
            [](const std::string &a, const std::string &b) {
              int r = quenorbial_compare4(a.c_str(), b.c_str(), 0, 0);
              return r != 0 ? r < 0 : a < b;
            });
  expect_lines(list, lines);
}

// The sort moves elements; short lines move their bytes along, long lines
// their pointers. The result must match a sort of copies by the same order.
TEST(LineStorage, SortsInlineAndLongLinesTogether) {
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
  expect_sorted(std::move(lines));
}

// The merge takes repeats of the line it just took without comparing them:
// lines equal as versions but not in bytes must still come apart, and long
// repeats are told by their bytes, not their pointers.
TEST(LineStorage, SortsRepeatsLikeTheirCopies) {
  const std::string kinds[] = {"1.0", "1.0.0", "v1.0",
                               std::string("1.0\0x", 5), std::string("1.0\0y", 5),
                               "2.0rc1", "1.0.0.0.0.0.0.0.0", "1.0.0.0.0.0.0.0.0.0",
                               std::string(40, '7'), ""};
  std::mt19937 rng(3);
  std::vector<std::string> lines;
  for (int i = 0; i < 30000; ++i) lines.push_back(kinds[rng() % 10]);
  expect_sorted(std::move(lines));
}

std::string contents(std::FILE *f) {
  std::string s;
  std::rewind(f);
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
  return s;
}

TEST(OutputBuffer, PassesEveryByteInOrder) {
  std::FILE *f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  std::string want;
  {
    OutputBuffer buf(f);
    // Pieces that fill the buffer exactly, overflow it, and exceed it.
    for (std::size_t n : {std::size_t{10}, std::size_t{65526}, std::size_t{1},
                          std::size_t{65535}, std::size_t{2}, std::size_t{200000},
                          std::size_t{0}, std::size_t{5}}) {
      std::string piece(n, static_cast<char>('a' + want.size() % 26));
      if (n > 0) piece[0] = '\0';
      want += piece;
      ASSERT_TRUE(buf.write(piece.data(), piece.size()));
    }
  }  // the rest goes out when the buffer goes
  EXPECT_EQ(contents(f), want);
  std::fclose(f);
}

TEST(OutputBuffer, StopsAtTheFirstFailedWrite) {
  std::FILE *f = std::fopen("/dev/full", "w");
  if (f == nullptr) GTEST_SKIP() << "no /dev/full";
  OutputBuffer buf(f);
  std::string chunk(1 << 16, 'x');
  EXPECT_FALSE(buf.write(chunk.data(), chunk.size()) &&
               buf.write(chunk.data(), chunk.size()) && buf.flush());
  EXPECT_FALSE(buf.write("y", 1));
  EXPECT_FALSE(buf.flush());
  EXPECT_TRUE(std::ferror(f));
  std::fclose(f);
}

}  // namespace
