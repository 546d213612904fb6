// Line: one input line as the list holds it, the inline and the long kind.
#ifndef QUENORBIAL_SORT_LINE_H
#define QUENORBIAL_SORT_LINE_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The bytes of a line without its line feed, followed by a NUL so that the
// library can read them in place; the line may hold NULs of its own. Lines
// of up to kInline bytes are held in the element itself, so that the sort
// reads them where it moves them; longer ones point to their bytes.
class Line {
 public:
  static constexpr std::size_t kInline = 15;
  // What a long line's seven size bytes hold: more than memory can anyway.
  static constexpr std::size_t kMaxSize = (std::size_t{1} << 56) - 1;

  // The empty line.
  Line() noexcept : bytes_{} { bytes_[kInline] = kInline; }

  // The `n` bytes at `p`, at most kMaxSize: copied into the element when
  // they fit, else pointed to, and then they must be followed by a NUL and
  // outlive the line. Built in place, so that a short line's bytes are
  // written once.
  Line(const char *p, std::size_t n) noexcept : Line() {
    static_assert(sizeof p + kSizeBytes + 1 == sizeof(Line),
                  "a long line is a pointer, its size and the tag");
    if (n <= kInline) {
      std::memcpy(bytes_, p, n);
      bytes_[kInline] = static_cast<char>(kInline - n);
      return;
    }
    static_assert(kMaxSize >> (8 * kSizeBytes) == 0, "the size fits its bytes");
    std::memcpy(bytes_, &p, sizeof p);
    for (std::size_t i = 0; i < kSizeBytes; ++i) {
      bytes_[sizeof p + i] = static_cast<char>(n >> (8 * i));
    }
    bytes_[kInline] = static_cast<char>(kLong);
  }

  // The bytes, NUL-terminated. The pointer is read whatever the tag says,
  // so that the compiler picks one of the two without a branch: in a sort,
  // short and long lines come in no order that a branch could predict.
  const char *c_str() const noexcept {
    const char *away = pointer();
    return is_inline() ? bytes_ : away;
  }
  std::size_t size() const noexcept { return is_inline() ? kInline - tag() : long_size(); }
  std::string_view view() const noexcept { return {c_str(), size()}; }
  // Whether the bytes are held in the element, padded with NULs, so that two
  // such lines are equal exactly when their elements are.
  bool is_inline() const noexcept { return tag() != kLong; }

 private:
  static constexpr unsigned char kLong = 0xff;
  static constexpr std::size_t kSizeBytes = 7;  // of a long line's size

  unsigned char tag() const noexcept { return static_cast<unsigned char>(bytes_[kInline]); }
  const char *pointer() const noexcept {
    const char *p;
    std::memcpy(&p, bytes_, sizeof p);
    return p;
  }
  std::size_t long_size() const noexcept {
    std::size_t n = 0;
    for (std::size_t i = kSizeBytes; i-- > 0;) {
      n = n << 8 | static_cast<unsigned char>(bytes_[sizeof(char *) + i]);
    }
    return n;
  }

  // Inline: the bytes, a NUL, and in the last byte kInline less the size,
  // which is the NUL itself when the line fills the element. Long: a
  // pointer, the size in seven bytes, and kLong.
  alignas(8) char bytes_[kInline + 1];
};

// Whether two lines are the same element: the same inline bytes, or the
// same pointer and size, and so the same bytes. Two long lines with the same
// bytes in copies of their own are not.
inline bool same_element(const Line &a, const Line &b) noexcept {
  std::uint64_t x[2];
  std::uint64_t y[2];
  static_assert(sizeof x == sizeof(Line), "a line is two words");
  std::memcpy(x, &a, sizeof x);
  std::memcpy(y, &b, sizeof y);
  return x[0] == y[0] && x[1] == y[1];
}

#endif  // QUENORBIAL_SORT_LINE_H
