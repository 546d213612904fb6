// Prints its arguments in version order, one a line.
#include <quenorbial.h>

#include <algorithm>
#include <iostream>

int main(int argc, char *argv[]) {
  std::stable_sort(argv + 1, argv + argc, [](const char *a, const char *b) {
    return quenorbial_compare4(a, b, 0, 0) < 0;
  });
  for (int i = 1; i < argc; ++i) std::cout << argv[i] << '\n';
}
