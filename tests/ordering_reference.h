// The version ordering read the plain way: each string is turned into its
// whole sequence of components first, then the two sequences are compared.
// Slow and obvious on purpose; the library must agree with it sign for sign.
#ifndef QUENORBIAL_TESTS_ORDERING_REFERENCE_H
#define QUENORBIAL_TESTS_ORDERING_REFERENCE_H

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "quenorbial.h"

namespace reference {

enum Rank { kTilde, kPre, kEnd, kRevision, kPlus, kZero, kPost, kNonzero };

struct Component {
  Rank rank;
  std::string digits;  // kNonzero: the value, without leading zeros
  int key = 0;         // kPre and kPost: the order within the rank
};

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

inline std::string lower(std::string s) {
  for (char &c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

inline Component number(const std::string &run) {
  std::size_t first = run.find_first_not_of('0');
  if (first == std::string::npos) return {kZero, "", 0};
  return {kNonzero, run.substr(first), 0};
}

// `s` without the extension chain at its end: while the name after its last
// dot is a listed one, in any case, the dot and the name are cut off.
inline std::string without_extensions(std::string s) {
  static const char *const kNames[] = {
      "tar", "gz",  "tgz", "bz2", "tbz2",  "xz",       "txz", "zst", "lz",  "lzma", "zip",
      "7z",  "jar", "war", "ear", "aar",   "deb",      "rpm", "apk", "exe", "msi",  "dmg",
      "pkg", "whl", "egg", "gem", "nupkg", "appimage", "iso", "img", "asc", "sig"};
  for (;;) {
    std::size_t dot = s.rfind('.');
    if (dot == std::string::npos) return s;
    const std::string name = lower(s.substr(dot + 1));
    if (std::find(std::begin(kNames), std::end(kNames), name) == std::end(kNames)) return s;
    s.resize(dot);
  }
}

// The sequence of `str` read with `flags`, padding zeros already dropped.
inline std::vector<Component> components(const char *str, int flags) {
  const std::string s = without_extensions(str);  // the bytes before the NUL
  const std::size_t n = s.size();
  std::vector<Component> seq;
  // A word is after a plus mark when a '+' or '^' past the first byte comes before it.
  const std::size_t first_plus = s.find_first_of("+^", 1);
  // The bytes of each revision's run of letters, digits and dots.
  std::vector<bool> in_revision(n, false);
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
      const std::string w = lower(s.substr(i, j - i));
      bool suffix = w.size() == 1 && i > 0 && is_digit(s[i - 1]) && !(j < n && is_digit(s[j]));
      bool post_word = w == "post" || w == "patch" || w == "pl" || w == "errata" || w == "rev" ||
                       w == "sp";
      if ((flags & ALPHA_AS_POST_RELEASE) || suffix || post_word ||
          (w == "p" && (flags & P_LETTER_AS_PATCH)) || first_plus < i || in_revision[i]) {
        seq.push_back({kPost, "", w[0]});
      } else if (w == "final" || w == "release" || w == "ga") {
        // no component
      } else if (w.compare(0, 3, "dev") == 0) {
        seq.push_back({kPre, "", 0});
      } else {
        seq.push_back({kPre, "", w == "cr" ? 'r' : w[0]});
      }
    } else if (s[i] == '-' && i > 0 && i + 1 < n && is_digit(s[i + 1]) && seq.size() > 1 &&
               seq.back().rank != kPre) {
      // seq.size() > 1: the component before is not the epoch.
      seq.push_back({kRevision, "", 0});
      for (std::size_t k = i + 1; k < n && (is_alpha(s[k]) || is_digit(s[k]) || s[k] == '.'); ++k) {
        in_revision[k] = true;
      }
    } else if (s[i] == '~' && i > 0) {
      seq.push_back({kTilde, "", 0});
    } else if ((s[i] == '+' || s[i] == '^') && i > 0) {
      seq.push_back({kPlus, "", 0});
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
