// VersionList: the lines read and the flags that order them.
#ifndef QUENORBIAL_SORT_VERSION_LIST_H
#define QUENORBIAL_SORT_VERSION_LIST_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

class VersionList {
 public:
  // One line without its line feed. `data[size]` is a NUL byte, so the
  // library can read the line in place; the line may hold NULs of its own.
  struct Line {
    const char *data;
    std::size_t size;
    std::string_view view() const noexcept { return {data, size}; }
  };

  explicit VersionList(int flags) noexcept : flags_(flags) {}

  // Appends every line of the open descriptor `fd`, in order. A last line
  // without a line feed counts; CR and NUL bytes stay in the line. Returns 0,
  // or the errno of a failed read, in which case the lines read before the
  // failure are kept. A directory fails with EISDIR.
  int read_lines(int fd);

  // True when `a` orders strictly before `b`: by version, then by bytes.
  bool less(const Line &a, const Line &b) const noexcept;

  // Puts the lines into ascending order by less().
  void sort();

  // Writes each line, " (<)" when it orders after the line before it (the
  // first is compared with the empty line) or " (==)" when not, and a line
  // feed. Stops at the first write error, which the stream keeps.
  void print_verbose(std::FILE *out) const;

  int flags() const noexcept { return flags_; }
  const std::vector<Line> &lines() const noexcept { return lines_; }

 private:
  struct Free {
    void operator()(char *p) const noexcept;
  };

  int flags_;
  std::vector<Line> lines_;
  std::vector<std::unique_ptr<char[], Free>> blocks_;  // one per input
};

#endif  // QUENORBIAL_SORT_VERSION_LIST_H
