#include "report/report_file.h"

namespace kw {

bool ReportFile::Open(const std::string& path) {
  buffer_.clear();
  if (!file_.Open(path)) return false;
  return true;
}

void ReportFile::WriteOut() {
  if (file_.isOpen()) file_.Write(buffer_);
  buffer_.clear();
}

bool ReportFile::Close() {
  if (!file_.isOpen()) return false;
  WriteOut();
  return file_.Commit();
}

}  // namespace kw
