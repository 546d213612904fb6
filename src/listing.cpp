#include "listing.h"

#include "line.h"
#include "output_buffer.h"

int print_plain(const VersionList &list, std::FILE *out) {
  OutputBuffer buf(out);
  for (const Line &line : list.lines()) {
    if (!buf.write(line.c_str(), line.size()) || !buf.write("\n", 1)) break;
  }
  return buf.finish();
}

int print_verbose(const VersionList &list, std::FILE *out) {
  OutputBuffer buf(out);
  static const Line kEmpty;
  const Line *prev = &kEmpty;
  for (const Line &line : list.lines()) {
    bool before = list.less(*prev, line);
    if (!buf.write(line.c_str(), line.size()) ||
        !(before ? buf.write(" (<)\n", 5) : buf.write(" (==)\n", 6))) {
      break;
    }
    prev = &line;
  }
  return buf.finish();
}
