#include "base/merge_log.h"

#include <cerrno>

#include "base/display_path.h"
#include "base/output_file.h"

namespace kw {

std::string LogPathFor(const std::string& input1Path) {
  size_t slash = input1Path.rfind('/');
  if (slash == std::string::npos) return "log";
  return input1Path.substr(0, slash + 1) + "log";
}

MergeLog::MergeLog(const std::string& input1Path, Reporter& reporter)
    : input1Path_(&input1Path), reporter_(&reporter) {
  reporter_->SetBeforeBox([this] { Flush(); });
}

MergeLog::MergeLog() = default;

MergeLog::~MergeLog() {
  if (reporter_ != nullptr) reporter_->SetBeforeBox(nullptr);
  Close();
}

bool MergeLog::Open() {
  if (file_ != nullptr || input1Path_ == nullptr) return true;  // in memory
  path_ = LogPathFor(*input1Path_);
  error_ = 0;
  // Binary mode: the line ends are exactly those of the formats.
  file_ = std::fopen(path_.c_str(), "wb");
  if (file_ == nullptr) {
    ShowError(*reporter_, "\r\nfopen fail, error=%d", errno);
    return false;
  }
  return true;
}

void MergeLog::Append(const std::string& text) {
  if (capture_ != nullptr) capture_->append(text);
  if (error_ != 0) return;
  held_ += text;
  if (held_.size() >= kHoldBytes) Flush();
}

void MergeLog::Flush() {
  if (file_ == nullptr || held_.empty() || error_ != 0) return;
  bool written = std::fwrite(held_.data(), 1, held_.size(), file_) == held_.size() &&
                 std::fflush(file_) == 0;
  held_.clear();
  if (!written) Fail(errno);
}

// The box comes once; it runs the flush before boxes, which finds the log
// failed and writes nothing.
void MergeLog::Fail(int error) {
  if (error_ != 0) return;
  error_ = error != 0 ? error : EIO;
  ShowError(*reporter_, "\r\nFehler beim Schreiben von %s: %s", DisplayPath(path_).c_str(),
            WriteErrorReason(error_).c_str());
}

bool MergeLog::Close() {
  Flush();
  if (file_ == nullptr) return error_ == 0;
  int closed = std::fclose(file_);
  int error = errno;
  file_ = nullptr;
  if (closed != 0) Fail(error);
  return error_ == 0;
}

std::string MergeLog::TakeHeld() {
  std::string held;
  held.swap(held_);
  return held;
}

}  // namespace kw
