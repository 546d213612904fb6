// The version ordering read the plain way: each string is turned into its
// whole sequence of components first, then the two sequences are compared.
// Slow and obvious on purpose; the library must agree with it sign for sign.
#ifndef QUENORBIAL_TESTS_ORDERING_REFERENCE_H
#define QUENORBIAL_TESTS_ORDERING_REFERENCE_H

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "quenorbial.h"

namespace reference {

enum Rank {
  kTilde, kPre, kEnd, kRevision, kSuffix, kPlus, kHyphen, kZero, kPost, kNonzero, kWord
};

struct Component {
  Rank rank;
  // kNonzero: the value's digits, without leading zeros; kPre, kPost, kSuffix
  // and kWord: the bytes that order the word within its rank.
  std::string key;
};

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

inline std::string lower(std::string s) {
  for (char &c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

using Names = std::set<std::string>;

inline bool listed(const std::string &w, const Names &names) { return names.count(w) != 0; }

inline Component number(const std::string &run) {
  std::size_t first = run.find_first_not_of('0');
  if (first == std::string::npos) return {kZero, ""};
  return {kNonzero, run.substr(first)};
}

// `s` without the extension chain at its end: while the name after its last
// dot is a listed one, in any case, the dot and the name are cut off.
inline std::string without_extensions(std::string s) {
  static const Names kNames = {
      "tar", "gz",  "tgz", "bz2", "tbz2",  "xz",       "txz", "zst", "lz",  "lzma", "zip",
      "7z",  "jar", "war", "ear", "aar",   "deb",      "rpm", "apk", "exe", "msi",  "dmg",
      "pkg", "whl", "egg", "gem", "nupkg", "appimage", "iso", "img", "asc", "sig"};
  for (;;) {
    std::size_t dot = s.rfind('.');
    if (dot == std::string::npos) return s;
    if (!listed(lower(s.substr(dot + 1)), kNames)) return s;
    s.resize(dot);
  }
}

// Whether `token` is `name` followed by at least `least` digits and nothing else.
inline bool name_and_digits(const std::string &token, const std::string &name,
                            std::size_t least) {
  if (token.compare(0, name.size(), name) != 0) return false;
  std::size_t digits = token.size() - name.size();
  return digits >= least && std::all_of(token.begin() + static_cast<std::ptrdiff_t>(name.size()),
                                        token.end(), is_digit);
}

// Whether a lower-case token names a platform.
inline bool is_platform(const std::string &token) {
  static const Names kAlone = {
      "mac", "windows", "musl", "msvc", "openbsd", "netbsd", "dragonfly", "solaris",
      "illumos", "aix", "ios", "wasm", "wasi",
      "amd64", "x86", "x64", "x32", "arm", "arm64", "armhf", "armel", "aarch64", "i386",
      "i486", "i586", "i686", "ppc64", "ppc64le", "s390x", "riscv64", "mips", "mipsle",
      "mips64", "mips64le", "loong64", "universal", "universal2", "noarch",
      "slim", "bookworm", "bullseye", "buster", "stretch", "trixie", "jammy", "focal",
      "noble", "bionic", "xenial", "nanoserver", "windowsservercore",
      "bin", "src", "source", "sources", "javadoc", "all", "setup", "installer", "portable"};
  static const char *const kWithDigits[] = {
      "linux", "darwin", "macos", "macosx", "osx", "freebsd", "android", "win", "mingw",
      "py", "alpine", "ltsc"};
  if (listed(token, kAlone)) return true;
  for (const char *name : kWithDigits) {
    if (name_and_digits(token, name, 0)) return true;
  }
  if (name_and_digits(token, "cp", 1) || name_and_digits(token, "pp", 1)) return true;
  if (token.compare(0, 9, "manylinux") == 0 || token.compare(0, 9, "musllinux") == 0) {
    return true;
  }
  std::string armv = token;
  if (!armv.empty() && armv.back() == 'l') armv.pop_back();
  return name_and_digits(armv, "armv", 1);
}

inline bool is_platform_separator(char c) { return c == '.' || c == '-' || c == '_'; }

// `s` without its platform suffix: cut before the first platform token that
// has a '.', '-' or '_' directly before it and a digit, '.', digit before
// that byte, and before every '.', '-' and '_' directly before the cut.
inline std::string without_platform(const std::string &s) {
  bool dotted = false;  // a dotted number lies wholly before s[t - 1]
  for (std::size_t t = 1; t < s.size(); ++t) {
    if (t >= 4 && is_digit(s[t - 4]) && s[t - 3] == '.' && is_digit(s[t - 2])) dotted = true;
    if (!dotted || !is_platform_separator(s[t - 1]) || !is_alpha(s[t])) continue;
    std::size_t e = t;
    while (e < s.size() && (is_alpha(s[e]) || is_digit(s[e]))) ++e;
    if (!is_platform(lower(s.substr(t, e - t)))) continue;
    std::size_t cut = t - 1;
    while (cut > 0 && is_platform_separator(s[cut - 1])) --cut;
    return s.substr(0, cut);
  }
  return s;
}

// How a word is read without ALPHA_AS_POST_RELEASE, by the first rule that
// applies; `rule7` says whether the component before it is a pre-release
// word with a number of the version before that.
enum class Reading { kPost, kDropped, kPre };

inline Reading classify(const std::string &w, bool suffix, bool patch_flag, bool after_plus,
                        bool in_revision, bool after_release, bool rule7) {
  static const Names kPostWords = {
      "post", "patch", "pl",  "errata", "rev", "sp", "r",  "hotfix", "bugfix", "dfsg",
      "ds",   "repack", "svn", "git",   "bzr", "hg", "cvs", "jdk",   "jre"};
  static const Names kReleaseWords = {"final", "release", "ga"};
  if (suffix || listed(w, kPostWords) || (w == "p" && patch_flag) || after_plus ||
      in_revision || after_release) {
    return Reading::kPost;
  }
  bool release = listed(w, kReleaseWords);
  if (rule7 && w.compare(0, 3, "dev") != 0 && w != "snapshot" && !release) {
    return Reading::kPost;
  }
  return release ? Reading::kDropped : Reading::kPre;
}

// The sequence of `str` read with `flags`, padding zeros already dropped.
inline std::vector<Component> components(const char *str, int flags) {
  const bool debian = (flags & ALPHA_AS_POST_RELEASE) != 0;
  const bool patch_flag = !debian && (flags & P_LETTER_AS_PATCH) != 0;
  std::string s = without_extensions(str);  // the bytes before the NUL
  if (!debian) s = without_platform(s);
  const std::size_t n = s.size();
  std::vector<Component> seq;
  seq.reserve(n + 2);
  std::size_t i = 0;

  std::size_t digits = 0;
  while (digits < n && is_digit(s[digits])) ++digits;
  if (digits > 0 && digits < n && (s[digits] == ':' || s[digits] == '!')) {
    seq.push_back(number(s.substr(0, digits)));
    i = digits + 1;
  } else {
    seq.push_back({kZero, ""});
    if (n >= 2 && (s[0] == 'v' || s[0] == 'V') && is_digit(s[1])) i = 1;
  }

  // A word is after a plus mark when a '+' or '^' past the first byte comes before it.
  const std::size_t first_plus = s.find_first_of("+^", 1);
  // Only the last hyphen opens a revision, but for a name's first one before a digit.
  const std::size_t last_hyphen = s.rfind('-');
  std::size_t name_hyphen = std::string::npos;
  if (i < n && is_alpha(s[i])) {
    for (std::size_t k = i; k + 1 < n && name_hyphen == std::string::npos; ++k) {
      if (s[k] == '-' && is_digit(s[k + 1])) name_hyphen = k;
    }
  }
  // The bytes of each run of letters, digits and dots after a revision mark.
  std::vector<bool> in_revision(n, false);
  bool seen_number = false;    // a number of the version stands before
  bool after_release = false;  // a dropped release word after a number stands before
  bool pre_counts = false;     // the last pre-release word had a number before it

  while (i < n) {
    std::size_t j = i + 1;
    if (is_digit(s[i])) {
      while (j < n && is_digit(s[j])) ++j;
      seq.push_back(number(s.substr(i, j - i)));
      seen_number = true;
    } else if (is_alpha(s[i])) {
      while (j < n && is_alpha(s[j])) ++j;
      const std::string raw = s.substr(i, j - i);
      const bool glued = i > 0 && is_digit(s[i - 1]);
      if (debian) {
        seq.push_back({glued ? kSuffix : kWord, raw});
      } else {
        const std::string w = lower(raw);
        const bool suffix = w.size() == 1 && glued && !(j < n && is_digit(s[j]));
        switch (classify(w, suffix, patch_flag, first_plus < i, in_revision[i], after_release,
                         seq.back().rank == kPre && pre_counts)) {
          case Reading::kPost:
            seq.push_back({kPost, patch_flag && w == "p" ? "patch" : w});
            break;
          case Reading::kDropped:
            after_release = after_release || seen_number;
            break;
          case Reading::kPre:
            seq.push_back({kPre, w.compare(0, 3, "dev") == 0 ? ""
                                 : w == "cr"                 ? "r"
                                                             : w.substr(0, 1)});
            pre_counts = seen_number;
            break;
        }
      }
    } else if (s[i] == '-' && debian) {
      // A mark after any component of the version, a separator before them.
      if (seq.size() > 1) {
        seq.push_back({i == last_hyphen || i == name_hyphen ? kRevision : kHyphen, ""});
      }
    } else if (s[i] == '-' && i + 1 < n && is_digit(s[i + 1]) && seen_number &&
               seq.back().rank != kPre) {
      seq.push_back({i == last_hyphen || i == name_hyphen ? kRevision : kHyphen, ""});
      for (std::size_t k = i + 1; k < n && (is_alpha(s[k]) || is_digit(s[k]) || s[k] == '.'); ++k) {
        in_revision[k] = true;
      }
    } else if (s[i] == '~' && i > 0) {
      seq.push_back({kTilde, ""});
    } else if ((s[i] == '+' || s[i] == '^') && i > 0) {
      seq.push_back({kPlus, ""});
    }  // anything else separates
    i = j;
  }
  seq.push_back({kEnd, ""});

  // Zeros directly before a pre-release word are padding: drop them.
  std::vector<Component> out;
  out.reserve(seq.size());
  std::size_t zeros = 0;
  for (const Component &c : seq) {
    if (c.rank == kZero) {
      ++zeros;
      continue;
    }
    if (c.rank != kPre) out.insert(out.end(), zeros, Component{kZero, ""});
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
    if (p.rank == kNonzero && p.key.size() != q.key.size()) {
      return p.key.size() < q.key.size() ? -1 : 1;
    }
    // As unsigned bytes, a proper prefix first.
    if (int r = p.key.compare(q.key)) return r < 0 ? -1 : 1;
  }
}

// -1, 0 or 1 as `a` (read with `fa`) orders before, equal to or after `b`.
inline int compare(const char *a, const char *b, int fa, int fb) {
  return compare(components(a, fa), components(b, fb));
}

}  // namespace reference

#endif  // QUENORBIAL_TESTS_ORDERING_REFERENCE_H
