// The two listings of a list: the lines, or the lines marked.
#include "line.h"
#include "output_buffer.h"
#include "version_list.h"

int VersionList::print_plain(std::FILE *out) const noexcept {
  OutputBuffer buf(out);
  for (const Line &line : lines_) {
    if (!buf.write(line.c_str(), line.size()) || !buf.write("\n", 1)) break;
  }
  return buf.finish();
}

int VersionList::print_verbose(std::FILE *out) const noexcept {
  OutputBuffer buf(out);
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
