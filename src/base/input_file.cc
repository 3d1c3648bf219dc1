#include "base/input_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "base/large_pages.h"

namespace kw {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    errno = EISDIR;
    return false;
  }
  // A regular file is read in one go; a pipe or a device in pieces.
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    ReserveOnLargePages(bytes, static_cast<size_t>(info.st_size));
  }
  char chunk[1 << 16];
  for (;;) {
    size_t got = std::fread(chunk, 1, sizeof chunk, file);
    bytes.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  // A short read that is not the end of the file is a read error: a file
  // cut short must not look like a whole one.
  bool whole = std::feof(file) && !std::ferror(file);
  int error = errno;
  std::fclose(file);
  if (whole) return true;
  bytes.clear();
  errno = error != 0 ? error : EIO;
  return false;
}

}  // namespace kw
