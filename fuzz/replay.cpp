// Runs a fuzz target once over each input it is given, a file or every file
// in a directory, so that the committed corpus is checked by any compiler's
// build without libFuzzer. Fails when it finds no input at all, so that a
// lost corpus is not taken for a passing one.
#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size);

namespace {

// The files named by `path`: itself, or those in it by name, in name order
// so that every run replays them alike.
bool inputs(const std::string &path, std::vector<std::string> &out) {
  DIR *dir = opendir(path.c_str());
  if (dir == nullptr) {
    if (errno != ENOTDIR) return false;
    out.push_back(path);
    return true;
  }
  std::vector<std::string> names;
  while (const dirent *e = readdir(dir)) {
    if (e->d_name[0] != '.') names.push_back(path + "/" + e->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  out.insert(out.end(), names.begin(), names.end());
  return true;
}

bool read_file(const std::string &path, std::vector<uint8_t> &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  bytes.clear();
  uint8_t buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) {
    bytes.insert(bytes.end(), buf, buf + n);
  }
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace

int main(int argc, char *argv[]) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (!inputs(argv[i], files)) {
      std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[i], std::strerror(errno));
      return 1;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "%s: no inputs\n", argv[0]);
    return 1;
  }
  std::vector<uint8_t> bytes;
  for (const std::string &file : files) {
    // Named first, so that a failed check is seen with its input.
    std::fprintf(stderr, "Running: %s\n", file.c_str());
    if (!read_file(file, bytes)) {
      std::fprintf(stderr, "%s: %s: %s\n", argv[0], file.c_str(), std::strerror(errno));
      return 1;
    }
    // Exactly the input's size, as libFuzzer allocates it, so that ASan sees
    // a read past its end.
    std::unique_ptr<uint8_t[]> input(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), input.get());
    LLVMFuzzerTestOneInput(input.get(), bytes.size());
  }
  std::printf("%zu inputs replayed, none failed\n", files.size());
  return 0;
}
