#include "report/report_file.h"

namespace kw {

ReportFile::~ReportFile() {
  // Not closed: a report given up half way is not left behind.
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(path_.c_str());
  }
}

bool ReportFile::Open(const std::string& path) {
  path_ = path;
  buffer_.clear();
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ != nullptr) buffer_.reserve(kSpillBytes + (kSpillBytes >> 2));
  return file_ != nullptr;
}

void ReportFile::WriteOut() {
  if (file_ == nullptr || failed_) return buffer_.clear();
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

bool ReportFile::Close() {
  if (file_ == nullptr) return false;
  WriteOut();
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  if (failed_) std::remove(path_.c_str());
  return !failed_;
}

}  // namespace kw
