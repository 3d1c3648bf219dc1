#include "base/merge_log.h"

#include <cerrno>

namespace kw {

std::string LogPathFor(const std::string& input1Path) {
  size_t slash = input1Path.rfind('/');
  if (slash == std::string::npos) return "log";
  return input1Path.substr(0, slash + 1) + "log";
}

MergeLog::MergeLog(const std::string& input1Path, Reporter& reporter)
    : input1Path_(input1Path), reporter_(reporter) {
  reporter_.SetBeforeBox([this] { Flush(); });
}

MergeLog::~MergeLog() {
  reporter_.SetBeforeBox(nullptr);
  Close();
}

bool MergeLog::Open() {
  if (file_ != nullptr) return true;
  path_ = LogPathFor(input1Path_);
  // Binary mode: the line ends are exactly those of the formats.
  file_ = std::fopen(path_.c_str(), "wb");
  if (file_ == nullptr) {
    ShowError(reporter_, "\r\nfopen fail, error=%d", errno);
    return false;
  }
  return true;
}

void MergeLog::Append(const std::string& text) {
  held_ += text;
  if (held_.size() >= kHoldBytes) Flush();
}

void MergeLog::Flush() {
  if (file_ == nullptr || held_.empty()) return;
  std::fwrite(held_.data(), 1, held_.size(), file_);
  std::fflush(file_);
  held_.clear();
}

void MergeLog::Close() {
  Flush();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kw
