/* Prints <, = or > as the first version orders before, as or after the second. */
#include <stdio.h>

#include <quenorbial.h>

int main(int argc, char **argv) {
  if (argc != 3) return 2;
  int r = quenorbial_compare4(argv[1], argv[2], 0, 0);
  puts(r < 0 ? "<" : r > 0 ? ">" : "=");
  return 0;
}
