// quenorbial-sort: writes its input lines in version order.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "quenorbial.h"
#include "version_list.h"

namespace {

// Options end at the first operand. glibc permutes unless told by a leading
// '+', which other parsers would take for an option letter.
#ifdef __GLIBC__
constexpr char kOptions[] = "+pahvV";
#else
constexpr char kOptions[] = "pahvV";
#endif

void print_usage(const char *prog) {
  std::fprintf(stderr,
               "Usage: %s [-pa] [path]\n"
               "\n"
               " -p       - 'p' letter is treated as 'patch' instead of 'pre'\n"
               " -a       - any alphabetic characters are treated as post-release\n"
               " -v       - verbose mode (display whether version is different "
               "from the previous one)\n"
               "\n"
               " -h, -?   - print usage and exit\n"
               " -V       - print version and exit\n",
               prog);
  std::fflush(stderr);
}

// The command-line interface's own version, apart from the library's.
void print_version() {
  std::fputs("quenorbial 3.0.4\n", stderr);
  std::fflush(stderr);
}

// Writes "prog: subject: reason" and marks the run as failed.
void report(int &status, const char *prog, const char *subject, int err) {
  std::fprintf(stderr, "%s: %s: %s\n", prog, subject, std::strerror(err));
  status = 1;
}

}  // namespace

int main(int argc, char *argv[]) {
  const char *prog = argv[0] != nullptr ? argv[0] : "quenorbial-sort";
  int flags = 0;
  bool verbose = false;
  for (int ch; (ch = getopt(argc, argv, kOptions)) != -1;) {
    switch (ch) {
      case 'p':
        flags |= P_LETTER_AS_PATCH;
        break;
      case 'a':
        flags |= ALPHA_AS_POST_RELEASE;
        break;
      case 'v':
        verbose = true;
        break;
      case 'h':
        print_usage(prog);
        return 0;
      case 'V':
        print_version();
        return 0;
      default:  // the parser has said what was wrong; -? asks for help
        print_usage(prog);
        return optopt == '?' ? 0 : 1;
    }
  }

  int status = 0;
  // What the run is busy with, named if memory runs out. That ends the run
  // with nothing on stdout, since a listing of part of the input would pass
  // for the whole: the listing allocates all it needs before it writes.
  const char *subject = "stdin";
  try {
    VersionList list(flags);
    if (optind >= argc) {
      if (int err = list.read_lines(STDIN_FILENO)) report(status, prog, subject, err);
    }
    for (int i = optind; i < argc; ++i) {
      subject = argv[i];
      int fd = open(subject, O_RDONLY);
      int err = fd < 0 ? errno : list.read_lines(fd);
      if (fd >= 0) close(fd);
      if (err != 0) report(status, prog, subject, err);
    }

    subject = "sort";
    list.sort();

    subject = "stdout";
    int err = verbose ? list.print_verbose(stdout) : list.print_plain(stdout);
    if (err != 0) report(status, prog, subject, err);
  } catch (const std::bad_alloc &) {
    report(status, prog, subject, ENOMEM);
  }
  return status;
}
