// A report file written with every write checked: the text is gathered in
// a buffer and written in large pieces to a file that takes its name only
// when it is whole, so a report given up half way leaves nothing behind and
// an earlier report of that name stays as it was.
#ifndef KINWEAVE_REPORT_REPORT_FILE_H_
#define KINWEAVE_REPORT_REPORT_FILE_H_

#include <string>
#include <string_view>

#include "base/output_file.h"

namespace kw {

class ReportFile {
 public:
  ReportFile() = default;
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Prepares the file. False when its folder cannot take it.
  bool Open(const std::string& path);
  // The buffer to append to; Spill writes it out once it is large.
  std::string& text() { return buffer_; }
  void Spill() {
    if (buffer_.size() >= kSpillBytes) WriteOut();
  }
  // Writes the rest and names the file. True when every step succeeded;
  // otherwise nothing of it is left.
  bool Close();

 private:
  static constexpr size_t kSpillBytes = 1 << 20;
  void WriteOut();

  OutputFile file_;
  std::string buffer_;
};

}  // namespace kw

#endif  // KINWEAVE_REPORT_REPORT_FILE_H_
