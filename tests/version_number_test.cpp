// quenorbial_version_number() tells the version of the library that is
// loaded, which here is the one built from this tree's header.
#include <gtest/gtest.h>

#include "quenorbial.h"

namespace {

TEST(VersionNumber, IsTheHeadersVersion) {
  EXPECT_EQ(quenorbial_version_number(), QUENORBIAL_VERSION_MAJOR * 10000 +
                                             QUENORBIAL_VERSION_MINOR * 100 +
                                             QUENORBIAL_VERSION_PATCH)
      << "the header's version is " << QUENORBIAL_VERSION_MAJOR << "."
      << QUENORBIAL_VERSION_MINOR << "." << QUENORBIAL_VERSION_PATCH;
}

}  // namespace
