// The Reporter of the command line. Error boxes become one line each on
// standard error, marked as errors; status part 0 goes to standard error as
// the work proceeds; the progress ("%d%% erledigt") is drawn on one updating
// line only when standard error is a terminal; message boxes go to standard
// output. Texts are converted from Windows-1252 to UTF-8. There is no window
// to read, so the waits are skipped.
#ifndef KINWEAVE_APP_CLI_CONSOLE_REPORTER_H_
#define KINWEAVE_APP_CLI_CONSOLE_REPORTER_H_

#include <cstdio>
#include <string>

#include "base/reporter.h"

namespace kw {

class ConsoleReporter : public Reporter {
 public:
  ConsoleReporter(std::FILE* out, std::FILE* err, bool errIsTerminal)
      : out_(out), err_(err), errIsTerminal_(errIsTerminal) {}

  void ShowStatus(int part, std::string_view text) override;
  void ShowError(std::string_view text) override;
  void ShowMessage(std::string_view caption, std::string_view text) override;
  // The "Fertig" line, then "Bericht: PATH" when the report was written.
  void ShowFinished(std::string_view text, const std::string& reportPath) override;
  void CreateProgress() override {}
  void StepProgress() override {}
  void DestroyProgress() override { EndProgressLine(); }
  void Wait(int milliseconds) override { (void)milliseconds; }

  int errorCount() const { return errorCount_; }

 private:
  void EndProgressLine();

  std::FILE* out_;
  std::FILE* err_;
  bool errIsTerminal_;
  bool progressShown_ = false;
  int errorCount_ = 0;
};

// Windows-1252 text as UTF-8, with its line breaks (CR, LF in any run)
// folded to single blanks and the ends trimmed: one message, one line.
std::string ConsoleLine(std::string_view text);

}  // namespace kw

#endif  // KINWEAVE_APP_CLI_CONSOLE_REPORTER_H_
