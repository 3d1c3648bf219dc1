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
// - Line ends are written exactly as the formats give them.
// - What is written is held in memory and reaches the disk at the end of
//   each phase (Flush: each load, the merge pass, the export), before every
//   box the reporter shows, and when the log is closed: a box never stands
//   in front of a log that lags behind it, and a quarter of a million merge
//   entries cost a handful of writes, not one each.
#ifndef KINWEAVE_BASE_MERGE_LOG_H_
#define KINWEAVE_BASE_MERGE_LOG_H_

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/reporter.h"

namespace kw {

class MergeLog {
 public:
  // `input1Path` is slot 0's path (native bytes); it must outlive the log,
  // and so must `reporter`, whose boxes flush the log from now on.
  MergeLog(const std::string& input1Path, Reporter& reporter);
  // A log held in memory only, never written to a file: work that runs
  // beside the real log's writer logs into one, and the real log appends
  // its text (TakeHeld) where that work's lines belong. It shows no box.
  MergeLog();
  ~MergeLog();
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

  // Appends text exactly as given (the rule of the first value does not
  // apply). Returns -1 when the log cannot be opened.
  int WriteText(std::string_view text) {
    if (!Open()) return -1;
    if (capture_ != nullptr) capture_->append(text);
    if (error_ != 0) return 0;
    held_.append(text);
    if (held_.size() >= kHoldBytes) Flush();
    return 0;
  }

  // From now on every text written is appended to `into` as well, until
  // Capture(nullptr): the report keeps a load's findings this way. `into`
  // must live until then.
  void Capture(std::string* into) { capture_ = into; }

  // Writes out what is held. The end of a phase calls it.
  void Flush();
  // Flushes and closes the file if open; the next Write opens (and
  // truncates) it again. False when writing or closing failed.
  bool Close();
  // Whether a write, flush or close failed since the log was opened: the
  // box "\r\nFehler beim Schreiben von %s" has said so, once, and nothing
  // more is written. A run must then not claim success.
  bool failed() const { return error_ != 0; }
  // What an in-memory log holds, handed over; the log is empty after it.
  std::string TakeHeld();
  // Where the log is being written ("" before the first Write).
  const std::string& path() const { return path_; }
  bool isOpen() const { return file_ != nullptr; }

 private:
  static constexpr size_t kHoldBytes = 1 << 20;

  bool Open();
  void Append(const std::string& text);
  void Fail(int error);

  const std::string* input1Path_ = nullptr;  // null for a log in memory
  Reporter* reporter_ = nullptr;             // null for a log in memory
  std::string path_;
  std::FILE* file_ = nullptr;
  std::string held_;
  int error_ = 0;
  std::string* capture_ = nullptr;
};

// The log path for a given input file 1: "log" in its directory, or "log"
// in the current directory when the path has no "/".
std::string LogPathFor(const std::string& input1Path);

}  // namespace kw

#endif  // KINWEAVE_BASE_MERGE_LOG_H_
