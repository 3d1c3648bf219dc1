#include "base/merge_log.h"

#include <cerrno>

namespace kw {

std::string LogPathFor(const std::string& input1Path) {
  size_t slash = input1Path.rfind('/');
  if (slash == std::string::npos) return "log";
  return input1Path.substr(0, slash + 1) + "log";
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
  std::fwrite(text.data(), 1, text.size(), file_);
  if (capture_ != nullptr) capture_->append(text);
  if (holdDepth_ == 0) std::fflush(file_);
}

void MergeLog::Release() {
  if (--holdDepth_ == 0 && file_ != nullptr) std::fflush(file_);
}

void MergeLog::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kw
