// Checks that quenorbial_compare4 is a total preorder on any three strings,
// each read with its own flags from a buffer that ends at its NUL, and that it
// agrees with the plain reading of the ordering sign for sign.
//
// Input: three flag bytes, then the three strings separated by line feeds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ordering_reference.h"
#include "quenorbial.h"
#include "support.h"

namespace {

using support::sign;

// A heap copy of exactly n bytes and a NUL, so that ASan sees any overread.
std::unique_ptr<char[]> copy(const uint8_t *p, std::size_t n) {
  std::unique_ptr<char[]> s(new char[n + 1]);
  std::memcpy(s.get(), p, n);
  s[n] = '\0';
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  if (size < 3) return 0;
  int flags[3] = {data[0], data[1], data[2]};  // high bits must be ignored
  const uint8_t *p = data + 3;
  const uint8_t *end = data + size;
  std::unique_ptr<char[]> str[3];
  for (auto &s : str) {
    const uint8_t *stop = p;
    while (stop < end && *stop != '\n' && *stop != '\0') ++stop;
    s = copy(p, static_cast<std::size_t>(stop - p));
    while (stop < end && *stop != '\n') ++stop;  // bytes after a NUL
    p = stop < end ? stop + 1 : end;
  }

  int c[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      int r = quenorbial_compare4(str[i].get(), str[j].get(), flags[i], flags[j]);
      CHECK(r == quenorbial_compare4(str[i].get(), str[j].get(), flags[i], flags[j]));
      CHECK(sign(r) == sign(quenorbial_compare4(str[i].get(), str[j].get(),
                                                flags[i] & 3, flags[j] & 3)));
      c[i][j] = sign(r);
      CHECK(c[i][j] == reference::compare(str[i].get(), str[j].get(), flags[i], flags[j]));
    }
  }
  for (int i = 0; i < 3; ++i) {
    CHECK(c[i][i] == 0);
    std::size_t n = std::strlen(str[i].get());
    auto twin = copy(reinterpret_cast<const uint8_t *>(str[i].get()), n);
    CHECK(quenorbial_compare4(str[i].get(), twin.get(), flags[i], flags[i]) == 0);
    for (int j = 0; j < 3; ++j) {
      CHECK(c[i][j] == -c[j][i]);
      for (int k = 0; k < 3; ++k) {
        if (c[i][j] <= 0 && c[j][k] <= 0) {
          CHECK(c[i][k] <= 0);
          if (c[i][j] < 0 || c[j][k] < 0) CHECK(c[i][k] < 0);
        }
      }
    }
  }
  return 0;
}
