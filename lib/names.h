// The names that the version ordering lists (file extensions, platform
// tokens, post words and release words), each list in one place, with the
// ASCII character tests that reading them needs and how a run of bytes is
// matched against them. Private to lib/compare.cpp.
#ifndef QUENORBIAL_LIB_NAMES_H
#define QUENORBIAL_LIB_NAMES_H

#include <cstddef>
#include <iterator>
#include <string_view>

namespace {

using Byte = unsigned char;

// ASCII only: the locale must not change the order.
constexpr bool is_digit(Byte c) noexcept { return static_cast<unsigned>(c - '0') < 10u; }
constexpr bool is_alpha(Byte c) noexcept { return static_cast<unsigned>((c | 0x20) - 'a') < 26u; }
constexpr bool is_alnum(Byte c) noexcept { return is_digit(c) || is_alpha(c); }
constexpr Byte fold(Byte c) noexcept { return c | 0x20; }  // digits stay as they are

// What may follow a listed name in a run of letters and digits.
enum class Tail : Byte {
  kNothing,     // the name alone
  kDigits,      // digits or none: linux, linux64
  kSomeDigits,  // one digit or more: cp311
  kArmVersion,  // one digit or more, then an l or not: armv7l
  kAnything,    // any letters and digits: manylinux2014
};

// A listed name, in lower case.
struct Name {
  std::string_view text;
  Tail tail = Tail::kNothing;
};

// Where the names that open with a byte, in either case, stand in a list
// sorted by their first byte: [begin, end), empty for a byte no name opens
// with; `opens` says begin != end in one load.
struct NameIndex {
  bool opens[256];
  Byte begin[256];
  Byte end[256];
};

template <std::size_t N>
constexpr NameIndex index_names(const Name (&names)[N]) noexcept {
  NameIndex index{};
  for (int c = 0; c < 256; ++c) {
    Byte b = static_cast<Byte>(c);
    if (!is_alnum(b)) continue;
    for (std::size_t k = 0; k < N; ++k) {
      if (static_cast<Byte>(names[k].text[0]) != fold(b)) continue;
      if (!index.opens[c]) index.begin[c] = static_cast<Byte>(k);
      index.opens[c] = true;
      index.end[c] = static_cast<Byte>(k + 1);
    }
  }
  return index;
}

// Whether the names are sorted by their first byte, so that an index finds
// them all, and are all lower-case letters and digits.
template <std::size_t N>
constexpr bool well_listed(const Name (&names)[N]) noexcept {
  for (std::size_t k = 0; k < N; ++k) {
    if (names[k].text.empty() || (k > 0 && names[k - 1].text[0] > names[k].text[0])) return false;
    for (char c : names[k].text) {
      if (!(is_digit(static_cast<Byte>(c)) || (c >= 'a' && c <= 'z'))) return false;
    }
  }
  return N < 256;
}

// Case-insensitive match of the `n` bytes at `w` against a lower-case name.
constexpr bool word_is(const Byte *w, std::size_t n, std::string_view name) noexcept {
  if (n != name.size()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (fold(w[i]) != static_cast<Byte>(name[i])) return false;
  }
  return true;
}

// Whether the `n` bytes at `w`, letters and digits, spell one of the names
// that `index` finds in `names`, with what may follow it.
bool listed(const Name *names, const NameIndex &index, const Byte *w, std::size_t n) noexcept {
  for (std::size_t k = index.begin[w[0]]; k < index.end[w[0]]; ++k) {
    std::string_view name = names[k].text;
    if (name.size() > n || (n > 1 && name.size() > 1 && fold(w[1]) != name[1]) ||
        !word_is(w, name.size(), name)) {
      continue;
    }
    const Byte *rest = w + name.size();
    const Byte *end = w + n;
    std::size_t digits = 0;
    while (rest + digits != end && is_digit(rest[digits])) ++digits;
    bool fits = false;
    switch (names[k].tail) {
      case Tail::kNothing: fits = rest == end; break;
      case Tail::kDigits: fits = rest + digits == end; break;
      case Tail::kSomeDigits: fits = digits > 0 && rest + digits == end; break;
      case Tail::kArmVersion:
        fits = digits > 0 && (rest + digits == end || (rest + digits + 1 == end &&
                                                        fold(rest[digits]) == 'l'));
        break;
      case Tail::kAnything: fits = true; break;
    }
    if (fits) return true;
  }
  return false;
}

// The names of files' extensions, as in "foo-1.2.tar.gz".
constexpr Name kExtensions[] = {
    {"7z"},  {"aar"}, {"apk"},  {"appimage"}, {"asc"}, {"bz2"},  {"deb"},  {"dmg"},
    {"ear"}, {"egg"}, {"exe"},  {"gem"},      {"gz"},  {"img"},  {"iso"},  {"jar"},
    {"lz"},  {"lzma"}, {"msi"}, {"nupkg"},    {"pkg"}, {"rpm"},  {"sig"},  {"tar"},
    {"tbz2"}, {"tgz"}, {"txz"}, {"war"},      {"whl"}, {"xz"},   {"zip"},  {"zst"}};
static_assert(well_listed(kExtensions));
constexpr NameIndex kExtensionIndex = index_names(kExtensions);

// Every extension's name has a letter second, so that most runs are turned
// away after two bytes.
constexpr bool names_have_a_letter_second() noexcept {
  for (const Name &name : kExtensions) {
    if (name.text.size() < 2 || !is_alpha(static_cast<Byte>(name.text[1]))) return false;
  }
  return true;
}
static_assert(names_have_a_letter_second());

// Whether an extension's name may open at `p`.
bool may_open_extension(const Byte *p) noexcept {
  return kExtensionIndex.opens[p[0]] && is_alpha(p[1]);
}

// Whether the run of letters and digits at `w` names an extension and is
// followed by a dot or the end; if so, where it ends. Each name is matched
// from the front, so a long run (a timestamp after dev) is not walked. The
// match folds the bytes below the digits onto them (0x12 onto the 2 of
// bz2), so a match is a name only if it is all letters and digits.
const Byte *extension_end(const Byte *w) noexcept {
  if (!may_open_extension(w)) return nullptr;  // most often a number
  for (Byte k = kExtensionIndex.begin[w[0]]; k != kExtensionIndex.end[w[0]]; ++k) {
    std::string_view name = kExtensions[k].text;
    const Byte *e = w + name.size();
    if (word_is(w, name.size(), name) && (*e == '.' || *e == '\0')) {
      for (const Byte *c = w; c != e; ++c) {
        if (!is_alnum(*c)) return nullptr;
      }
      return e;
    }
  }
  return nullptr;
}

// The tokens of a download's platform: systems, machines, Python's tags,
// the bases of container images and the parts a project packs apart.
constexpr Name kPlatforms[] = {
    {"aarch64"},    {"aix"},       {"all"},         {"alpine", Tail::kDigits},
    {"amd64"},      {"android", Tail::kDigits},     {"arm"},      {"arm64"},
    {"armel"},      {"armhf"},     {"armv", Tail::kArmVersion},  {"bin"},
    {"bionic"},     {"bookworm"},  {"bullseye"},    {"buster"},   {"cp", Tail::kSomeDigits},
    {"darwin", Tail::kDigits},     {"dragonfly"},   {"focal"},    {"freebsd", Tail::kDigits},
    {"i386"},       {"i486"},      {"i586"},        {"i686"},     {"illumos"},
    {"installer"},  {"ios"},       {"jammy"},       {"javadoc"},  {"linux", Tail::kDigits},
    {"loong64"},    {"ltsc", Tail::kDigits},        {"mac"},      {"macos", Tail::kDigits},
    {"macosx", Tail::kDigits},     {"manylinux", Tail::kAnything},
    {"mingw", Tail::kDigits},      {"mips"},        {"mips64"},   {"mips64le"},
    {"mipsle"},     {"msvc"},      {"musl"},        {"musllinux", Tail::kAnything},
    {"nanoserver"}, {"netbsd"},    {"noarch"},      {"noble"},    {"openbsd"},
    {"osx", Tail::kDigits},        {"portable"},    {"pp", Tail::kSomeDigits},
    {"ppc64"},      {"ppc64le"},   {"py", Tail::kDigits},         {"riscv64"},
    {"s390x"},      {"setup"},     {"slim"},        {"solaris"},  {"source"},
    {"sources"},    {"src"},       {"stretch"},     {"trixie"},   {"universal"},
    {"universal2"}, {"wasi"},      {"wasm"},        {"win", Tail::kDigits},
    {"windows"},    {"windowsservercore"},          {"x32"},      {"x64"},
    {"x86"},        {"xenial"}};
static_assert(well_listed(kPlatforms));
constexpr NameIndex kPlatformIndex = index_names(kPlatforms);

// The second bytes that the platform tokens opening with a letter have, one
// bit for each letter and digit: most words are turned away by their first
// two bytes.
constexpr int second_byte_bit(Byte c) noexcept { return is_digit(c) ? c - '0' : 10 + fold(c) - 'a'; }
struct SecondBytes {
  unsigned long long of[32];
};
constexpr SecondBytes second_bytes() noexcept {
  SecondBytes set{};
  for (const Name &name : kPlatforms) {
    set.of[name.text[0] & 31] |= 1ull << second_byte_bit(static_cast<Byte>(name.text[1]));
  }
  return set;
}
constexpr SecondBytes kPlatformSecondBytes = second_bytes();

// Whether a platform token may open at `t`, a letter.
bool may_open_platform(const Byte *t) noexcept {
  return is_alnum(t[1]) &&
         (kPlatformSecondBytes.of[t[0] & 31] >> second_byte_bit(t[1]) & 1u) != 0;
}

// Whether the run of letters and digits from `t`, a letter, to `end` is a
// platform token.
bool is_platform_token(const Byte *t, const Byte *end) noexcept {
  return may_open_platform(t) &&
         listed(kPlatforms, kPlatformIndex, t, static_cast<std::size_t>(end - t));
}

// The words that name a release after the release: post-releases, patches
// and service packs, Debian's repacks, snapshots from version control and
// Java's flavours.
constexpr Name kPostWords[] = {
    {"bugfix"}, {"bzr"}, {"cvs"}, {"dfsg"},  {"ds"},     {"errata"}, {"git"},
    {"hg"},     {"hotfix"}, {"jdk"}, {"jre"}, {"patch"}, {"pl"},     {"post"},
    {"r"},      {"repack"}, {"rev"}, {"sp"},  {"svn"}};
static_assert(well_listed(kPostWords));
constexpr NameIndex kPostWordIndex = index_names(kPostWords);

// The lengths of the post words that open with each letter, one bit for
// each length: most words are turned away by their first letter and length.
struct WordLengths {
  unsigned long long of[32];
};
constexpr WordLengths post_word_lengths() noexcept {
  WordLengths set{};
  for (const Name &name : kPostWords) set.of[name.text[0] & 31] |= 1ull << name.text.size();
  return set;
}
constexpr WordLengths kPostWordLengths = post_word_lengths();

// Whether the `n` letters at `w` are a post word.
bool is_post_word(const Byte *w, std::size_t n) noexcept {
  return n < 64 && (kPostWordLengths.of[w[0] & 31] >> n & 1u) != 0 &&
         listed(kPostWords, kPostWordIndex, w, n);
}

// A release spelled out.
bool is_release_word(const Byte *w, std::size_t n) noexcept {
  return word_is(w, n, "final") || word_is(w, n, "release") || word_is(w, n, "ga");
}

// No extension's name is a platform token, so that the platform suffix,
// cut after the extension chain, never meets one of the chain's names.
constexpr bool extensions_are_no_platforms() noexcept {
  for (const Name &e : kExtensions) {
    for (const Name &t : kPlatforms) {
      std::string_view rest = e.text.substr(0, t.text.size());
      if (rest == t.text && (e.text.size() == t.text.size() || t.tail != Tail::kNothing)) {
        return false;
      }
    }
  }
  return true;
}
static_assert(extensions_are_no_platforms());

}  // namespace

#endif  // QUENORBIAL_LIB_NAMES_H
