// The merge log: the tool's real report, a file named "log" in the
// directory of input file 1 while it is written (the merge run moves it
// beside the output at the end).
//
// Rules every caller relies on:
// - The file is opened (truncated) by the first Write of its life, with the
//   path of input file 1 as it is at that moment.
// - A line is written only when the first value after its format is not
//   zero (a zero number or a null text): fixed texts are logged with a dummy
//   value 1, and zero counts or absent names drop out.
// - Line ends are written exactly as the formats give them, and the file is
//   flushed after every write, so a crash loses nothing already logged. A
//   LogUnit groups the writes of one description (or one merge entry) so
//   they reach the disk together, with one flush instead of one per piece.
#ifndef KINWEAVE_BASE_MERGE_LOG_H_
#define KINWEAVE_BASE_MERGE_LOG_H_

#include <cstdio>
#include <string>
#include <type_traits>

#include "base/reporter.h"

namespace kw {

class MergeLog {
 public:
  // `input1Path` is slot 0's path (native bytes); it must outlive the log.
  MergeLog(const std::string& input1Path, Reporter& reporter)
      : input1Path_(input1Path), reporter_(reporter) {}
  ~MergeLog() { Close(); }
  MergeLog(const MergeLog&) = delete;
  MergeLog& operator=(const MergeLog&) = delete;

  // Formats with printf rules and appends. Returns 0 when written or
  // skipped, -1 when the log cannot be opened or the format is null.
  template <typename First, typename... Rest>
  int Write(const char* format, First first, Rest... rest) {
    static_assert(std::is_integral_v<First> || std::is_pointer_v<First>,
                  "the first value decides whether the line is written");
    if (!Open()) return -1;
    if (first == First{}) return 0;
    if (format == nullptr) return Append("(null)\n"), -1;
    Append(Format(format, first, rest...));
    return 0;
  }

  // Holds back the flushes until the matching Release; see LogUnit.
  void Hold() { ++holdDepth_; }
  void Release();

  // From now on every text written is appended to `into` as well, until
  // Capture(nullptr): the report keeps a load's findings this way.
  void Capture(std::string* into) { capture_ = into; }

  // Closes the file if open; the next Write opens (and truncates) it again.
  void Close();
  // Where the log is being written ("" before the first Write).
  const std::string& path() const { return path_; }
  bool isOpen() const { return file_ != nullptr; }

 private:
  bool Open();
  void Append(const std::string& text);

  const std::string& input1Path_;
  Reporter& reporter_;
  std::string path_;
  std::FILE* file_ = nullptr;
  int holdDepth_ = 0;
  std::string* capture_ = nullptr;
};

// The writes made while a LogUnit lives are flushed together when it ends.
class LogUnit {
 public:
  explicit LogUnit(MergeLog& log) : log_(log) { log_.Hold(); }
  ~LogUnit() { log_.Release(); }
  LogUnit(const LogUnit&) = delete;
  LogUnit& operator=(const LogUnit&) = delete;

 private:
  MergeLog& log_;
};

// The log path for a given input file 1: "log" in its directory, or "log"
// in the current directory when the path has no "/".
std::string LogPathFor(const std::string& input1Path);

}  // namespace kw

#endif  // KINWEAVE_BASE_MERGE_LOG_H_
