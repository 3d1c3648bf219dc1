#include "base/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>

namespace kw {

namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A hidden name beside `path` that no file has yet.
std::string TemporaryName(const std::string& path, unsigned number) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".tmp" + std::to_string(number);
}

unsigned RandomNumber() {
  std::random_device random;
  return random();
}


// The file a name leads to: a symbolic link's final target, so that the
// link stays and its file is replaced; a name that leads nowhere yet as it
// is. False (errno set) for a name that leads to no plain file, such as a
// device: the output must not take its place.
bool ResolveTarget(const std::string& path, std::string& target) {
  target = path;
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return true;
  if (S_ISLNK(info.st_mode)) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return true;  // a link to nothing yet: replaced
    target = resolved;
    free(resolved);
    if (stat(target.c_str(), &info) != 0) return true;
  }
  if (S_ISREG(info.st_mode)) return true;
  errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  return false;
}

}  // namespace

bool OutputFile::Open(const std::string& name) {
  Abandon();
  error_ = 0;
  if (!ResolveTarget(name, path_)) return false;
  const std::string& path = path_;
  // A file without a name cannot be left behind by a run that is killed;
  // it gets its name through its entry in /proc.
  if (form_ == TempForm::kUnnamedWherePossible && access("/proc/self/fd", X_OK) == 0) {
    fd_ = open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath_ = TemporaryName(path, RandomNumber());
    fd_ = open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    if (errno != EEXIST) break;
  }
  tempPath_.clear();
  return false;
}

void OutputFile::Fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
}

bool OutputFile::Write(std::string_view bytes) {
  if (fd_ < 0 || error_ != 0) return false;
  while (!bytes.empty()) {
    ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      Fail(written < 0 ? errno : ENOSPC);
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool OutputFile::Commit() {
  if (fd_ < 0) return false;
  if (error_ == 0 && fsync(fd_) != 0) Fail(errno);
  std::string named = tempPath_;
  if (error_ == 0 && named.empty()) {
    // The file without a name gets a hidden one first: a name can only be
    // given to it through its entry in /proc.
    std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100 && named.empty(); ++attempt) {
      std::string candidate = TemporaryName(path_, RandomNumber());
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        named = candidate;
      } else if (errno != EEXIST) {
        Fail(errno);
        break;
      }
    }
    if (named.empty()) Fail(EEXIST);
  }
  if (close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (error_ == 0) {
    if (std::rename(named.c_str(), path_.c_str()) != 0) Fail(errno);
  }
  if (error_ != 0 && !named.empty()) unlink(named.c_str());
  tempPath_.clear();
  return error_ == 0;
}

void OutputFile::Abandon() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) unlink(tempPath_.c_str());
  tempPath_.clear();
}

std::string WriteErrorReason(int error) {
  switch (error) {
    case ENOSPC:
      return "kein Platz mehr auf dem Datentr\xE4ger";
    case EDQUOT:
      return "Speicherkontingent \xFC" "berschritten";
    case EFBIG:
      return "Datei zu gro\xDF";
    case EACCES:
    case EPERM:
      return "keine Berechtigung";
    case EROFS:
      return "Datentr\xE4ger ist schreibgesch\xFCtzt";
    case EIO:
      return "Ein-/Ausgabefehler";
    case ENOENT:
      return "Ordner nicht gefunden";
    case EEXIST:
      return "Datei besteht bereits";
    default:
      return "Systemfehler " + std::to_string(error);
  }
}

int MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the no-replace move: a link cannot replace.
  if (link(from.c_str(), to.c_str()) != 0) return errno;
  unlink(from.c_str());
  return 0;
}

}  // namespace kw
