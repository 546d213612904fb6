// What the tests and the fuzzers share: lines handed to a VersionList through
// a file or a pipe, listings caught in memory, and the small facts they check.
// No test framework, so that a fuzzer can use it as well as a test.
#ifndef QUENORBIAL_TESTS_SUPPORT_H
#define QUENORBIAL_TESTS_SUPPORT_H

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "line.h"
#include "version_list.h"

// An assertion kept in release builds, where assert is not: the fuzzers'
// checks, and the helpers' own where a failure leaves nothing to check.
#define CHECK(cond)                                                          \
  do {                                                                       \
    if (!(cond)) {                                                           \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                   #cond);                                                   \
      std::abort();                                                          \
    }                                                                        \
  } while (0)

namespace support {

// -1, 0 or 1: the sign of a comparison's result, which is all it promises.
inline int sign(int r) { return (r > 0) - (r < 0); }

// The lines as input: each followed by a line feed.
inline std::string join(const std::vector<std::string> &lines) {
  std::string s;
  for (const std::string &l : lines) s.append(l).push_back('\n');
  return s;
}

enum class Source { kFile, kPipe };

// Hands `data` to list.read_lines() and returns what it returns. A file is
// read from its start; a pipe is filled by a thread in writes of uneven
// sizes, so that reads end in the middle of lines.
inline int feed(VersionList &list, std::string_view data, Source source) {
  if (source == Source::kFile) {
    std::FILE *f = std::tmpfile();
    CHECK(f != nullptr);
    // An empty view may hold no pointer, which fwrite must not be given.
    CHECK(data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size());
    CHECK(std::fflush(f) == 0 && lseek(fileno(f), 0, SEEK_SET) == 0);
    int err = list.read_lines(fileno(f));
    std::fclose(f);
    return err;
  }
  int fds[2];
  CHECK(pipe(fds) == 0);
  std::thread writer([data, fd = fds[1]] {
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
  int err = list.read_lines(fds[0]);
  writer.join();
  close(fds[0]);
  return err;
}

// A list of the lines of `data`, read with `flags`.
inline VersionList list_of(std::string_view data, int flags = 0) {
  VersionList list(flags);
  CHECK(feed(list, data, Source::kFile) == 0);
  return list;
}

// The list's lines as strings, in their present order.
inline std::vector<std::string> texts(const VersionList &list) {
  std::vector<std::string> out;
  for (const Line &line : list.lines()) out.emplace_back(line.view());
  return out;
}

// Where the list's lines differ from `want` in bytes, size or the NUL after
// them, or "" when they do not.
inline std::string first_difference(const VersionList &list,
                                    const std::vector<std::string> &want) {
  const auto &lines = list.lines();
  if (lines.size() != want.size()) {
    return std::to_string(lines.size()) + " lines instead of " + std::to_string(want.size());
  }
  for (std::size_t i = 0; i < want.size(); ++i) {
    const Line &line = lines[i];
    if (line.view() != want[i] || line.size() != want[i].size() ||
        line.c_str()[line.size()] != '\0') {
      return "line " + std::to_string(i) + ": \"" + std::string(line.view()) + "\" (" +
             std::to_string(line.size()) + " bytes" +
             (line.c_str()[line.size()] != '\0' ? ", no NUL after them" : "") +
             ") instead of \"" + want[i] + "\"";
    }
  }
  return "";
}

// The first line that orders before the line above it, or 0 when none does.
inline std::size_t first_out_of_order(const VersionList &list) {
  const auto &lines = list.lines();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (list.less(lines[i], lines[i - 1])) return i;
  }
  return 0;
}

// Whether `a` and `b` hold the same lines, each as often, in any order.
inline bool same_lines(std::vector<std::string> a, std::vector<std::string> b) {
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

// Lines that are often equal as versions but not in bytes, repeats included.
inline std::vector<std::string> random_lines(std::mt19937 &rng, std::size_t n) {
  static const std::string kPool[] = {
      "1.0", "1.0.0", "1-0", "v1.0", "1.00", "1.0\r", std::string("1.0\0x", 5),
      std::string("1.0\0y", 5), "", "0", "alpha", "1.0a", "1.0p1", "1.0foo", "1.10", "1.9",
      "2.0", "10", "1.0rc1", "1.0.Final", "\xff", "\x80" "1"};
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

// Runs `write` on a stream held in memory and returns what it wrote.
template <class Write>
std::string capture(Write write) {
  char *buf = nullptr;
  std::size_t len = 0;
  std::FILE *out = open_memstream(&buf, &len);
  CHECK(out != nullptr);
  write(out);
  CHECK(std::fclose(out) == 0);
  std::string s(buf, len);
  std::free(buf);
  return s;
}

}  // namespace support

#endif  // QUENORBIAL_TESTS_SUPPORT_H
