// VersionList: the lines read and the flags that order them.
#ifndef QUENORBIAL_SORT_VERSION_LIST_H
#define QUENORBIAL_SORT_VERSION_LIST_H

#include <cstddef>
#include <cstdio>
#include <memory>

#include "line.h"
#include "malloc_array.h"

class VersionList {
 public:
  // The lines in their present order.
  class Lines {
   public:
    const Line *begin() const noexcept { return data_.get(); }
    const Line *end() const noexcept { return data_.get() + size_; }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    const Line &operator[](std::size_t i) const noexcept { return data_[i]; }
    const Line &front() const noexcept { return data_[0]; }
    const Line &back() const noexcept { return data_[size_ - 1]; }

   private:
    friend class VersionList;
    MallocArray<Line> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
  };

  explicit VersionList(int flags) noexcept;
  VersionList(VersionList &&other) noexcept;
  VersionList &operator=(VersionList &&other) noexcept;

  // Appends every line of the open descriptor `fd`, in order. A last line
  // without a line feed counts; CR and NUL bytes stay in the line. Returns 0,
  // or the errno of a failed read, in which case the lines read before the
  // failure are kept. A directory fails with EISDIR; running out of memory
  // fails with ENOMEM.
  [[nodiscard]] int read_lines(int fd) noexcept;

  // True when `a` orders strictly before `b`: by version, then by bytes.
  bool less(const Line &a, const Line &b) const noexcept;

  // Puts the lines into ascending order by less(). Returns 0, or ENOMEM,
  // with the lines in some order, when there is no room for its buffers.
  [[nodiscard]] int sort() noexcept;

  // Writes each line and a line feed. Returns 0, or the errno of the first
  // write that failed, after which nothing more is written. Returns ENOMEM,
  // before it writes anything, when there is no room for its buffer;
  // nothing after that allocates.
  [[nodiscard]] int print_plain(std::FILE *out) const noexcept;

  // Writes each line, " (<)" when it orders after the line before it (the
  // first is compared with the empty line) or " (==)" when not, and a line
  // feed. Returns as print_plain() does.
  [[nodiscard]] int print_verbose(std::FILE *out) const noexcept;

  int flags() const noexcept { return flags_; }
  const Lines &lines() const noexcept { return lines_; }

 private:
  // Frees a chunk of long lines' bytes and every chunk before it.
  struct FreeChunks {
    void operator()(char *chunk) const noexcept;
  };

  // Makes room for `lines` lines in all and `bytes` more bytes of long
  // lines, as far as memory allows; what it cannot get is got as lines come.
  // Whether it made room for the lines.
  bool reserve(std::size_t lines, std::size_t bytes) noexcept;
  // Appends the `n` bytes at `p` as a line; false when memory runs out.
  bool append(const char *p, std::size_t n) noexcept;
  // A new chunk of `size` bytes, linked to the list's; null when memory
  // runs out.
  char *new_chunk(std::size_t size) noexcept;
  // Room for `n` bytes that lives as long as the list; null when memory
  // runs out.
  char *store(std::size_t n) noexcept;

  int flags_;
  Lines lines_;
  // The newest chunk of long lines' bytes. Each chunk starts with a pointer
  // to the chunk before it, so that they go with the list.
  std::unique_ptr<char, FreeChunks> chunks_;
  char *room_ = nullptr;      // the unused end of the newest shared chunk
  std::size_t room_left_ = 0;
  std::size_t chunk_size_;  // of the next shared chunk
};

#endif  // QUENORBIAL_SORT_VERSION_LIST_H
