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
  // Pieces that fill the full buffer exactly, overflow it, and exceed it.
  const std::size_t sizes[] = {10, 65526, 1, 65535, 2, 200000, 0, 5};
  std::size_t total = 0;
  for (std::size_t n : sizes) total += n;
  // Room for all that is written, for less (a promise broken), and for one
  // small listing.
  for (std::size_t room : {total, std::size_t{10}, std::size_t{0}}) {
    std::string want;
    std::string got = support::capture([&](std::FILE *f) {
      OutputBuffer buf(f, room);
      for (std::size_t n : sizes) {
        std::string piece(n, static_cast<char>('a' + want.size() % 26));
        if (n > 0) piece[0] = '\0';
        want += piece;
        ASSERT_TRUE(buf.write(piece.data(), piece.size()));
      }
    });  // the rest goes out when the buffer goes
    EXPECT_EQ(got, want) << "room for " << room << " bytes";
  }
  std::string got = support::capture([](std::FILE *f) {
    OutputBuffer buf(f, 4);
    EXPECT_TRUE(buf.write("1.0", 3) && buf.write("\n", 1));
    EXPECT_EQ(buf.finish(), 0);
  });
  EXPECT_EQ(got, "1.0\n");
}

TEST(OutputBuffer, StopsAtTheFirstFailedWrite) {
  std::FILE *f = std::fopen("/dev/full", "w");
  if (f == nullptr) GTEST_SKIP() << "no /dev/full";
  OutputBuffer buf(f, 3 << 16);
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
