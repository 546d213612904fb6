// Runs arbitrary bytes through read_lines, sort and both listings, and
// checks that every input line comes out once, byte for byte, in order.
//
// Input: one control byte (bits 0-1 the flags, bit 2 read through a pipe
// instead of a file, bit 3 read as two inputs), then the bytes to read.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "version_list.h"

namespace {

// Small enough for any pipe to hold at once, so the writer never blocks.
constexpr std::size_t kPipeMax = 4096;

// The lines of `bytes` as read_lines promises to cut them.
void split(std::string_view bytes, std::vector<std::string> &out) {
  while (!bytes.empty()) {
    std::size_t nl = bytes.find('\n');
    out.emplace_back(bytes.substr(0, nl));
    bytes.remove_prefix(nl == bytes.npos ? bytes.size() : nl + 1);
  }
}

void feed(VersionList &list, std::string_view bytes, bool through_pipe) {
  int fd = -1;
  if (through_pipe && bytes.size() <= kPipeMax) {
    int p[2];
    CHECK(pipe(p) == 0);
    CHECK(write(p[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    close(p[1]);
    fd = p[0];
  } else {
    std::FILE *f = std::tmpfile();
    CHECK(f != nullptr);
    CHECK(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    CHECK(std::fflush(f) == 0);
    fd = dup(fileno(f));
    std::fclose(f);
    CHECK(lseek(fd, 0, SEEK_SET) == 0);
  }
  CHECK(list.read_lines(fd) == 0);
  close(fd);
}

// Runs `write` on a memory stream and returns what it wrote.
template <class Write>
std::string listing(Write write) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const int control = data[0];
  std::string_view bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
  std::string_view parts[2] = {bytes, {}};
  if ((control & 8) != 0) {
    parts[0] = bytes.substr(0, bytes.size() / 2);
    parts[1] = bytes.substr(bytes.size() / 2);
  }

  VersionList list(control & 3);
  std::vector<std::string> expected;
  for (std::string_view part : parts) {
    feed(list, part, (control & 4) != 0);
    split(part, expected);
  }
  list.sort();
  const auto &lines = list.lines();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    CHECK(!list.less(lines[i], lines[i - 1]));
  }

  std::string plain = listing([&](std::FILE *out) { list.print_plain(out); });
  std::vector<std::string> got;
  split(plain, got);
  CHECK(plain.empty() || plain.back() == '\n');
  std::sort(expected.begin(), expected.end());
  std::sort(got.begin(), got.end());
  CHECK(got == expected);

  // In sorted order only a repeat of the line before is marked " (==)"; the
  // first line is measured against the empty line.
  std::string verbose = listing([&](std::FILE *out) { list.print_verbose(out); });
  std::string want;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool same = i > 0 ? lines[i].view() == lines[i - 1].view()
                      : !list.less(VersionList::Line{}, lines[0]);
    want.append(lines[i].view()).append(same ? " (==)\n" : " (<)\n");
  }
  CHECK(verbose == want);
  return 0;
}
