// A report file written with every write checked: the text is gathered in
// a buffer and written in large pieces; a failed open, write or close is
// remembered, and a file that failed is removed rather than left half
// written.
#ifndef KINWEAVE_REPORT_REPORT_FILE_H_
#define KINWEAVE_REPORT_REPORT_FILE_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace kw {

class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Creates (replaces) the file. False when it cannot be created.
  bool Open(const std::string& path);
  // The buffer to append to; Spill writes it out once it is large.
  std::string& text() { return buffer_; }
  void Spill() {
    if (buffer_.size() >= kSpillBytes) WriteOut();
  }
  // Writes the rest and closes. True when every step succeeded; otherwise
  // the file is gone.
  bool Close();

 private:
  static constexpr size_t kSpillBytes = 1 << 20;
  void WriteOut();

  std::string path_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace kw

#endif  // KINWEAVE_REPORT_REPORT_FILE_H_
