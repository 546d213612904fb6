// What the tests of the ordering share: strings guarded by inaccessible
// pages, and chains of strings checked pair by pair, both ways.
#ifndef QUENORBIAL_TESTS_CHAINS_H
#define QUENORBIAL_TESTS_CHAINS_H

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "quenorbial.h"
#include "support.h"

namespace chains {

using support::sign;

// Which side of a guarded copy an inaccessible page lies on.
enum class Edge { kAfter, kBefore };

// A copy of `s` whose terminating NUL is the last byte before an inaccessible
// page, so that a read past the NUL faults; or, with Edge::kBefore, whose
// first byte is the first after one, so that a read before it faults.
class Guarded {
 public:
  explicit Guarded(const std::string &s, Edge edge = Edge::kAfter) {
    std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    size_ = (s.size() + 1 + page - 1) / page * page + page;
    void *m = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED) throw std::bad_alloc();
    base_ = static_cast<char *>(m);
    if (edge == Edge::kAfter) {
      mprotect(base_ + size_ - page, page, PROT_NONE);
      str_ = base_ + size_ - page - (s.size() + 1);
    } else {
      mprotect(base_, page, PROT_NONE);
      str_ = base_ + page;
    }
    std::memcpy(str_, s.c_str(), s.size() + 1);
  }
  ~Guarded() { munmap(base_, size_); }
  Guarded(const Guarded &) = delete;
  Guarded &operator=(const Guarded &) = delete;
  const char *c_str() const { return str_; }

 private:
  char *base_;
  char *str_;
  std::size_t size_;
};

// A chain alternates strings and relations: {"1.0", "<", "1.1", "=", "1.01"}.
struct Chain {
  int flags;
  std::vector<std::string> items;
};

// A comparison as a chain is checked against: -1, 0 or 1 as `a` (read with
// `fa`) orders before, equal to or after `b` (read with `fb`).
using Compare = int (*)(const char *a, const char *b, int fa, int fb);

inline int library(const char *a, const char *b, int fa, int fb) {
  return sign(quenorbial_compare4(a, b, fa, fb));
}

// Checks every pair of the chain, both ways, by `compare`: a pair is "<" when
// a "<" lies between them, else "=".
inline void expect_chain(const Chain &chain, const std::string &where = "",
                         Compare compare = library) {
  const auto &it = chain.items;
  const int f = chain.flags;
  for (std::size_t i = 0; i < it.size(); i += 2) {
    Guarded a(it[i]);
    EXPECT_EQ(compare(a.c_str(), a.c_str(), f, f), 0)
        << where << testing::PrintToString(it[i]) << " against itself";
    int want = 0;
    for (std::size_t j = i + 2; j < it.size(); j += 2) {
      if (it[j - 1] == "<") want = -1;
      ASSERT_TRUE(it[j - 1] == "<" || it[j - 1] == "=") << "bad relation " << it[j - 1];
      Guarded b(it[j]);
      EXPECT_EQ(compare(a.c_str(), b.c_str(), f, f), want)
          << where << testing::PrintToString(it[i]) << " vs " << testing::PrintToString(it[j])
          << ", flags " << f;
      EXPECT_EQ(compare(b.c_str(), a.c_str(), f, f), -want)
          << where << testing::PrintToString(it[j]) << " vs " << testing::PrintToString(it[i])
          << ", flags " << f;
    }
  }
}

inline void expect_chains(const std::vector<Chain> &chains) {
  for (const Chain &c : chains) expect_chain(c);
}

}  // namespace chains

#endif  // QUENORBIAL_TESTS_CHAINS_H
