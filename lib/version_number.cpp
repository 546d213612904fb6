// The version of the library that is loaded, which a program may compare
// with the header's that it was built with.
#include "quenorbial.h"

// Two decimal digits each, so that the number reads back unambiguously.
static_assert(QUENORBIAL_VERSION_MINOR < 100 && QUENORBIAL_VERSION_PATCH < 100,
              "the minor and patch versions do not fit the version number");

int quenorbial_version_number(void) noexcept {
  return QUENORBIAL_VERSION_MAJOR * 10000 + QUENORBIAL_VERSION_MINOR * 100 +
         QUENORBIAL_VERSION_PATCH;
}
