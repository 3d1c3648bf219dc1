// A file that appears under its name only when it is whole. Everything is
// written to a file without a name (or, where the file system cannot do
// that, a hidden temporary one) in the folder of the final path; Commit
// flushes it to the disk, closes it and only then gives it its name. A run
// that fails or is interrupted leaves an earlier file of that name as it
// was, and nothing beside it.
//
// Every write, the flush, the close and the rename are checked; the first
// failure is kept (error()) and makes Commit fail.
#ifndef KINWEAVE_BASE_OUTPUT_FILE_H_
#define KINWEAVE_BASE_OUTPUT_FILE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace kw {

// How a file is kept out of sight while it is written.
enum class TempForm {
  kUnnamedWherePossible,  // without a name where the system can, else hidden
  kHidden,  // under a hidden temporary name, as on file systems without
            // unnamed files (FAT memory sticks, some network drives)
};

class OutputFile {
 public:
  explicit OutputFile(TempForm form = TempForm::kUnnamedWherePossible) : form_(form) {}
  ~OutputFile() { Abandon(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Prepares a file for `path` (native bytes). A symbolic link stays: the
  // file it leads to is the one replaced. False when the folder cannot take
  // a file, or the name leads to something other than a plain file, such as
  // a device (errno tells why).
  bool Open(const std::string& path);
  bool isOpen() const { return fd_ >= 0; }

  // Appends the bytes; false once anything failed.
  bool Write(std::string_view bytes);

  // Makes the file whole on the disk and gives it its name, replacing a
  // file of that name. Nothing is left behind when it fails.
  bool Commit();
  // Drops what was written; an earlier file of the name stays untouched.
  void Abandon();

  bool failed() const { return error_ != 0; }
  int error() const { return error_; }
  const std::string& path() const { return path_; }

 private:
  void Fail(int error);

  TempForm form_;
  std::string path_;
  std::string tempPath_;  // the hidden temporary file, when one was needed
  int fd_ = -1;
  int error_ = 0;
};

// Why writing failed, in German, for the error box: the system's reason
// for the common failures, otherwise the error number.
std::string WriteErrorReason(int error);

// Moves the file `from` to `to` unless a file of that name is there
// already. 0, or the errno of the failure (EEXIST for a file in the way).
int MoveWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace kw

#endif  // KINWEAVE_BASE_OUTPUT_FILE_H_
