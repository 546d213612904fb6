// The version ordering read the plain way: each string is turned into its
// whole sequence of components first, then the two sequences are compared.
// Slow and obvious on purpose; the library must agree with it sign for sign.
#ifndef QUENORBIAL_TESTS_ORDERING_REFERENCE_H
#define QUENORBIAL_TESTS_ORDERING_REFERENCE_H

#include <cstring>
#include <string>
#include <vector>

#include "quenorbial.h"

namespace reference {

enum Rank { kTilde, kPre, kEnd, kRevision, kZero, kPost, kNonzero };

struct Component {
  Rank rank;
  std::string digits;  // kNonzero: the value, without leading zeros
  int key = 0;         // kPre and kPost: the order within the rank
};

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

inline Component number(const std::string &run) {
  std::size_t first = run.find_first_not_of('0');
  if (first == std::string::npos) return {kZero, "", 0};
  return {kNonzero, run.substr(first), 0};
}

// The sequence of `str` read with `flags`, padding zeros already dropped.
inline std::vector<Component> components(const char *str, int flags) {
  const std::string s(str);  // the bytes before the NUL
  const std::size_t n = s.size();
  std::vector<Component> seq;
  std::size_t i = 0;

  std::size_t digits = 0;
  while (digits < n && is_digit(s[digits])) ++digits;
  if (digits > 0 && digits < n && (s[digits] == ':' || s[digits] == '!')) {
    seq.push_back(number(s.substr(0, digits)));
    i = digits + 1;
  } else {
    seq.push_back({kZero, "", 0});
    if (n >= 2 && (s[0] == 'v' || s[0] == 'V') && is_digit(s[1])) i = 1;
  }

  while (i < n) {
    std::size_t j = i + 1;
    if (is_digit(s[i])) {
      while (j < n && is_digit(s[j])) ++j;
      seq.push_back(number(s.substr(i, j - i)));
    } else if (is_alpha(s[i])) {
      while (j < n && is_alpha(s[j])) ++j;
      std::string w = s.substr(i, j - i);
      for (char &c : w) c = static_cast<char>(c | 0x20);
      bool suffix = w.size() == 1 && i > 0 && is_digit(s[i - 1]) && !(j < n && is_digit(s[j]));
      bool post_word = w == "post" || w == "patch" || w == "pl" || w == "errata" || w == "rev";
      bool after_plus = s.find('+') < i;
      int key = w[0];
      if ((flags & ALPHA_AS_POST_RELEASE) || suffix || post_word ||
          (w == "p" && (flags & P_LETTER_AS_PATCH)) || after_plus) {
        seq.push_back({kPost, "", key});
      } else if (w == "final" || w == "release" || w == "ga") {
        // no component
      } else {
        if (w.compare(0, 3, "dev") == 0) key = 0;
        seq.push_back({kPre, "", key});
      }
    } else if (s[i] == '-' && i > 0 && i + 1 < n && is_digit(s[i + 1]) &&
               seq.back().rank != kPre) {
      seq.push_back({kRevision, "", 0});
    } else if (s[i] == '~' && i > 0) {
      seq.push_back({kTilde, "", 0});
    }  // anything else separates
    i = j;
  }
  seq.push_back({kEnd, "", 0});

  // Zeros directly before a pre-release word are padding: drop them.
  std::vector<Component> out;
  std::size_t zeros = 0;
  for (const Component &c : seq) {
    if (c.rank == kZero) {
      ++zeros;
      continue;
    }
    if (c.rank != kPre) out.insert(out.end(), zeros, Component{kZero, "", 0});
    zeros = 0;
    out.push_back(c);
  }
  return out;
}

// -1, 0 or 1 as the sequence `x` orders before, equal to or after `y`.
inline int compare(const std::vector<Component> &x, const std::vector<Component> &y) {
  for (std::size_t i = 0;; ++i) {  // both end with kEnd, so one differs first or both end
    const Component &p = x[i];
    const Component &q = y[i];
    if (p.rank != q.rank) return p.rank < q.rank ? -1 : 1;
    if (p.rank == kEnd) return 0;
    if (p.digits.size() != q.digits.size()) return p.digits.size() < q.digits.size() ? -1 : 1;
    if (int r = p.digits.compare(q.digits)) return r < 0 ? -1 : 1;
    if (p.key != q.key) return p.key < q.key ? -1 : 1;
  }
}

// -1, 0 or 1 as `a` (read with `fa`) orders before, equal to or after `b`.
inline int compare(const char *a, const char *b, int fa, int fb) {
  return compare(components(a, fa), components(b, fb));
}

}  // namespace reference

#endif  // QUENORBIAL_TESTS_ORDERING_REFERENCE_H
