// quenorbial-sort: writes its input lines in version order.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// Writes "prog: subject: reason".
void report(const char *prog, const char *subject, int err) {
  std::fprintf(stderr, "%s: %s: %s\n", prog, subject, std::strerror(err));
}

// Reads the inputs (standard input when there are none), sorts their lines
// and lists them, reporting each failure as it comes; whether none came.
// Running out of memory ends the run there, with nothing on stdout, since a
// listing of part of the input would pass for the whole: the listing
// allocates all it needs before it writes.
bool sort_inputs(const char *prog, VersionList &list, bool verbose,
                 char *const *inputs, char *const *end) {
  bool ok = true;
  // Reports a step's failure; true when it ends the run.
  auto fails = [&](const char *subject, int err) {
    if (err == 0) return false;
    report(prog, subject, err);
    ok = false;
    return err == ENOMEM;
  };
  if (inputs == end && fails("stdin", list.read_lines(STDIN_FILENO))) return false;
  for (; inputs != end; ++inputs) {
    int fd = open(*inputs, O_RDONLY);
    if (fd < 0) {
      report(prog, *inputs, errno);
      ok = false;
      continue;
    }
    int err = list.read_lines(fd);
    close(fd);
    if (fails(*inputs, err)) return false;
  }
  if (fails("sort", list.sort())) return false;
  fails("stdout", verbose ? list.print_verbose(stdout) : list.print_plain(stdout));
  return ok;
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

  // The listing hands stdout whole chunks: a buffer of stdio's would only
  // copy them again, in memory that a short run need not touch.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  VersionList list(flags);
  return sort_inputs(prog, list, verbose, argv + optind, argv + argc) ? 0 : 1;
}
