// Runs the library as the program runs it, so that the compiler can lay the
// library out for the pairs that real sorts meet: the version strings of a
// counts file ("COUNT<tab>STRING" a line), each once, shuffled with a fixed
// seed and sorted by the program's own sort.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "line.h"
#include "merge_sort.h"
#include "quenorbial.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quenorbial_train COUNTS-FILE\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  std::vector<std::string> strings;
  for (std::string line; std::getline(in, line);) {
    strings.push_back(line.substr(line.find('\t') + 1));
  }
  if (!in.eof() || strings.empty()) {
    std::fprintf(stderr, "quenorbial_train: %s: cannot read version strings\n", argv[1]);
    return 1;
  }
  std::shuffle(strings.begin(), strings.end(), std::mt19937(1));
  std::vector<Line> lines;
  lines.reserve(strings.size());
  for (const std::string &s : strings) lines.emplace_back(s.c_str(), s.size());
  merge_sort(lines.data(), lines.size(), [](const Line &a, const Line &b) {
    return quenorbial_compare4(a.c_str(), b.c_str(), 0, 0) < 0;
  });
  return 0;
}
