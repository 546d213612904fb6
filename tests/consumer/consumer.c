/* Prints <, = or > as the first version orders before, as or after the
 * second; with no arguments, the version of the header it was built with,
 * failing when the loaded library's version number is not the header's. */
#include <stdio.h>

#include <quenorbial.h>

int main(int argc, char **argv) {
  if (argc == 1) {
    int header = QUENORBIAL_VERSION_MAJOR * 10000 + QUENORBIAL_VERSION_MINOR * 100 +
                 QUENORBIAL_VERSION_PATCH;
    int loaded = quenorbial_version_number();
    if (loaded != header) {
      fprintf(stderr, "consumer: the loaded library is version %d, the header %d\n", loaded,
              header);
      return 1;
    }
    return printf("%d.%d.%d\n", QUENORBIAL_VERSION_MAJOR, QUENORBIAL_VERSION_MINOR,
                  QUENORBIAL_VERSION_PATCH) < 0;
  }
  if (argc != 3) return 2;
  int r = quenorbial_compare4(argv[1], argv[2], 0, 0);
  puts(r < 0 ? "<" : r > 0 ? ">" : "=");
  return 0;
}
