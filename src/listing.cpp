// The two listings of a list: the lines, or the lines marked.
#include "line.h"
#include "output_buffer.h"
#include "version_list.h"

namespace {

// How many lines ahead of the one it writes a listing asks for the bytes of.
constexpr std::ptrdiff_t kFetchAhead = 16;

// The bytes of a listing of `lines` with `extra` bytes after each, counted
// as far as an output buffer holds.
std::size_t listing_size(const VersionList::Lines &lines, std::size_t extra) noexcept {
  std::size_t n = 0;
  for (const Line &line : lines) {
    n += line.size() + extra;
    if (n >= OutputBuffer::kSize) break;
  }
  return n;
}

}  // namespace

int VersionList::print_plain(std::FILE *out) const noexcept {
  OutputBuffer buf(out, listing_size(lines_, 1));
  const Line *end = lines_.end();
  for (const Line *line = lines_.begin(); line != end; ++line) {
    // Sorted, the long lines' bytes lie all over memory: ask for them
    // before they are copied.
    if (end - line > kFetchAhead) __builtin_prefetch(line[kFetchAhead].c_str());
    if (!buf.write(line->c_str(), line->size()) || !buf.write("\n", 1)) break;
  }
  return buf.finish();
}

int VersionList::print_verbose(std::FILE *out) const noexcept {
  OutputBuffer buf(out, listing_size(lines_, 6));  // " (==)\n" at most
  const Line empty;
  const Line *prev = &empty;
  for (const Line &line : lines_) {
    bool before = less(*prev, line);
    if (!buf.write(line.c_str(), line.size()) ||
        !(before ? buf.write(" (<)\n", 5) : buf.write(" (==)\n", 6))) {
      break;
    }
    prev = &line;
  }
  return buf.finish();
}
