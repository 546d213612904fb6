// Runs arbitrary bytes through read_lines, sort and both listings, and
// checks that every input line comes out once, byte for byte, in order.
//
// Input: one control byte (bits 0-1 the flags, bit 2 read through a pipe
// instead of a file, bit 3 read as two inputs), then the bytes to read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "line.h"
#include "support.h"
#include "version_list.h"

namespace {

using support::Source;

// The lines of `bytes` as read_lines promises to cut them.
void split(std::string_view bytes, std::vector<std::string> &out) {
  while (!bytes.empty()) {
    std::size_t nl = bytes.find('\n');
    out.emplace_back(bytes.substr(0, nl));
    bytes.remove_prefix(nl == bytes.npos ? bytes.size() : nl + 1);
  }
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
    CHECK(support::feed(list, part, (control & 4) != 0 ? Source::kPipe : Source::kFile) == 0);
    split(part, expected);
  }
  CHECK(list.sort() == 0);
  CHECK(support::first_out_of_order(list) == 0);

  std::string plain =
      support::capture([&](std::FILE *out) { CHECK(list.print_plain(out) == 0); });
  std::vector<std::string> got;
  split(plain, got);
  CHECK(plain.empty() || plain.back() == '\n');
  CHECK(support::same_lines(got, expected));

  // In sorted order only a repeat of the line before is marked " (==)"; the
  // first line is measured against the empty line.
  std::string verbose =
      support::capture([&](std::FILE *out) { CHECK(list.print_verbose(out) == 0); });
  const auto &lines = list.lines();
  std::string want;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool same = i > 0 ? lines[i].view() == lines[i - 1].view()
                      : !list.less(Line{}, lines[0]);
    want.append(lines[i].view()).append(same ? " (==)\n" : " (<)\n");
  }
  CHECK(verbose == want);
  return 0;
}
