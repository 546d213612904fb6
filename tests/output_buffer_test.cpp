// OutputBuffer: every byte reaches the stream in order, and nothing more once
// a write has failed.
#include "output_buffer.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support.h"

namespace {

TEST(OutputBuffer, PassesEveryByteInOrder) {
  std::string want;
  std::string got = support::capture([&want](std::FILE *f) {
    OutputBuffer buf(f);
    // Pieces that fill the buffer exactly, overflow it, and exceed it.
    for (std::size_t n : {std::size_t{10}, std::size_t{65526}, std::size_t{1},
                          std::size_t{65535}, std::size_t{2}, std::size_t{200000},
                          std::size_t{0}, std::size_t{5}}) {
      std::string piece(n, static_cast<char>('a' + want.size() % 26));
      if (n > 0) piece[0] = '\0';
      want += piece;
      ASSERT_TRUE(buf.write(piece.data(), piece.size()));
    }
  });  // the rest goes out when the buffer goes
  EXPECT_EQ(got, want);
}

TEST(OutputBuffer, StopsAtTheFirstFailedWrite) {
  std::FILE *f = std::fopen("/dev/full", "w");
  if (f == nullptr) GTEST_SKIP() << "no /dev/full";
  OutputBuffer buf(f);
  std::string chunk(1 << 16, 'x');
  EXPECT_FALSE(buf.write(chunk.data(), chunk.size()) &&
               buf.write(chunk.data(), chunk.size()) && buf.flush());
  EXPECT_FALSE(buf.write("y", 1));
  EXPECT_FALSE(buf.write("", 0)) << "no bytes are no exception";
  EXPECT_FALSE(buf.flush());
  EXPECT_EQ(buf.finish(), ENOSPC) << "the reason of the first failed write";
  EXPECT_TRUE(std::ferror(f));
  std::fclose(f);
}

}  // namespace
