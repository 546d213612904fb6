// Stand-ins for libquenorbial whose order is not consistent, to show that
// the sort stays in bounds and keeps every line whatever the library says.
// INCONSISTENT_CYCLE: three classes that beat one another in a ring, so the
// order is not transitive. Otherwise every string orders before every
// other, itself included.
#include <cstdint>

#include "quenorbial.h"

#ifdef INCONSISTENT_CYCLE
namespace {

// FNV-1a of the bytes before the NUL.
std::uint32_t hash(const char *s) noexcept {
  std::uint32_t h = 2166136261u;
  for (; *s != '\0'; ++s) h = (h ^ static_cast<unsigned char>(*s)) * 16777619u;
  return h;
}

}  // namespace

int quenorbial_compare4(const char *v1, const char *v2, int, int) noexcept {
  std::uint32_t a = hash(v1) % 3, b = hash(v2) % 3;
  if (a == b) return 0;
  return (a + 1) % 3 == b ? -1 : 1;
}
#else
int quenorbial_compare4(const char *, const char *, int, int) noexcept {
  return -1;
}
#endif
