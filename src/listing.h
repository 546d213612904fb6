// The program's two listings of a list: the lines, or the lines marked.
#ifndef QUENORBIAL_SORT_LISTING_H
#define QUENORBIAL_SORT_LISTING_H

#include <cstdio>

#include "version_list.h"

// Writes each line and a line feed. Returns 0, or the errno of the first
// write that failed, after which nothing more is written.
int print_plain(const VersionList &list, std::FILE *out);

// Writes each line, " (<)" when it orders after the line before it (the
// first is compared with the empty line) or " (==)" when not, and a line
// feed. Returns as print_plain() does.
int print_verbose(const VersionList &list, std::FILE *out);

#endif  // QUENORBIAL_SORT_LISTING_H
