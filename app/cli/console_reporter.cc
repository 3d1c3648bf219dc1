#include "console_reporter.h"

#include "base/codec.h"

namespace kw {

std::string ConsoleLine(std::string_view text) {
  std::string folded;
  bool lineBreak = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      lineBreak = true;
      continue;
    }
    // A line break becomes one blank, unless a blank stands beside it.
    if (lineBreak && c != ' ' && !folded.empty() && folded.back() != ' ') folded.push_back(' ');
    lineBreak = false;
    folded.push_back(c);
  }
  size_t first = folded.find_first_not_of(' ');
  size_t last = folded.find_last_not_of(' ');
  folded = first == std::string::npos ? std::string() : folded.substr(first, last - first + 1);
  std::u32string unicode;
  DecodeToUnicode(kEncodingPlain, folded, unicode);
  std::string utf8;
  EncodeFromUnicode(kEncodingUtf8, unicode, utf8);
  return utf8;
}

void ConsoleReporter::EndProgressLine() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", err_);
  progressShown_ = false;
}

void ConsoleReporter::ShowStatus(int part, std::string_view text) {
  if (part != 0) {
    if (!errIsTerminal_) return;
    std::fprintf(err_, "\r\033[K%s", ConsoleLine(text).c_str());
    std::fflush(err_);
    progressShown_ = true;
    return;
  }
  EndProgressLine();
  std::fprintf(err_, "%s\n", ConsoleLine(text).c_str());
  std::fflush(err_);
}

void ConsoleReporter::ShowError(std::string_view text) {
  EndProgressLine();
  ++errorCount_;
  std::fprintf(err_, "FEHLER: %s\n", ConsoleLine(text).c_str());
  std::fflush(err_);
}

void ConsoleReporter::ShowMessage(std::string_view caption, std::string_view text) {
  EndProgressLine();
  std::fprintf(out_, "%s: %s\n", ConsoleLine(caption).c_str(), ConsoleLine(text).c_str());
  std::fflush(out_);
}

void ConsoleReporter::ShowFinished(std::string_view text, const std::string& reportPath) {
  ShowMessage("Fertig", text);
  if (reportPath.empty()) return;
  // The path as the system spells it, so that it can be copied.
  std::fprintf(out_, "Bericht: %s\n", reportPath.c_str());
  std::fflush(out_);
}

}  // namespace kw
