// VersionList: the lines read and the flags that order them.
#ifndef QUENORBIAL_SORT_VERSION_LIST_H
#define QUENORBIAL_SORT_VERSION_LIST_H

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class VersionList {
 public:
  // One line without its line feed, followed by a NUL byte so that the
  // library can read it in place; the line may hold NULs of its own. Lines of
  // up to kInline bytes are held in the element itself, so that the sort
  // reads them where it moves them; longer ones point to their bytes.
  class Line {
   public:
    static constexpr std::size_t kInline = 15;

    // The empty line.
    Line() noexcept : bytes_{} { bytes_[kInline] = kInline; }

    // The bytes, NUL-terminated. The pointer is read whatever the tag says,
    // so that the compiler picks one of the two without a branch: in a sort,
    // short and long lines come in no order that a branch could predict.
    const char *c_str() const noexcept {
      const char *away = pointer();
      return is_inline() ? bytes_ : away;
    }
    std::size_t size() const noexcept {
      return is_inline() ? kInline - tag() : long_size();
    }
    std::string_view view() const noexcept { return {c_str(), size()}; }
    // Whether the bytes are held in the element, padded with NULs, so that
    // two such lines are equal exactly when their elements are.
    bool is_inline() const noexcept { return tag() != kLong; }

   private:
    friend class VersionList;
    static constexpr unsigned char kLong = 0xff;

    unsigned char tag() const noexcept {
      return static_cast<unsigned char>(bytes_[kInline]);
    }
    const char *pointer() const noexcept {
      const char *p;
      std::memcpy(&p, bytes_, sizeof p);
      return p;
    }
    std::size_t long_size() const noexcept;

    // Inline: the bytes, a NUL, and in the last byte kInline less the size,
    // which is the NUL itself when the line fills the element. Long: a
    // pointer, the size in seven bytes, and kLong.
    alignas(8) char bytes_[kInline + 1];
  };

  // The lines in their present order.
  class Lines {
   public:
    const Line *begin() const noexcept { return data_; }
    const Line *end() const noexcept { return data_ + size_; }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    const Line &operator[](std::size_t i) const noexcept { return data_[i]; }
    const Line &front() const noexcept { return data_[0]; }
    const Line &back() const noexcept { return data_[size_ - 1]; }

   private:
    friend class VersionList;
    Line *data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
  };

  explicit VersionList(int flags) noexcept : flags_(flags) {}
  ~VersionList();
  VersionList(VersionList &&other) noexcept;
  VersionList &operator=(VersionList &&other) noexcept;

  // Appends every line of the open descriptor `fd`, in order. A last line
  // without a line feed counts; CR and NUL bytes stay in the line. Returns 0,
  // or the errno of a failed read, in which case the lines read before the
  // failure are kept. A directory fails with EISDIR.
  int read_lines(int fd);

  // True when `a` orders strictly before `b`: by version, then by bytes.
  bool less(const Line &a, const Line &b) const noexcept;

  // Puts the lines into ascending order by less().
  void sort();

  // Writes each line and a line feed. Stops at the first write error, which
  // the stream keeps.
  void print_plain(std::FILE *out) const;

  // Writes each line, " (<)" when it orders after the line before it (the
  // first is compared with the empty line) or " (==)" when not, and a line
  // feed. Stops at the first write error, which the stream keeps.
  void print_verbose(std::FILE *out) const;

  int flags() const noexcept { return flags_; }
  const Lines &lines() const noexcept { return lines_; }

 private:
  struct Free {
    void operator()(char *p) const noexcept;
  };

  // Appends the `n` bytes at `p` as a line.
  void append(const char *p, std::size_t n);
  // Room for `n` bytes that lives as long as the list.
  char *store(std::size_t n);

  int flags_;
  Lines lines_;
  std::vector<std::unique_ptr<char[], Free>> chunks_;  // bytes of long lines
  char *room_ = nullptr;      // the unused end of the newest shared chunk
  std::size_t room_left_ = 0;
};

#endif  // QUENORBIAL_SORT_VERSION_LIST_H
