// The one way the core talks to the person at the screen: the two-part
// status line, the progress indicator, modal error and message boxes, the
// one-second waits and the file chooser. The desktop dialog, the command line
// and the tests each implement it.
//
// All texts are Windows-1252 bytes, exactly as the core formats them (line
// ends included); an implementation converts them for display.
#ifndef KINWEAVE_BASE_REPORTER_H_
#define KINWEAVE_BASE_REPORTER_H_

#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

class Reporter {
 public:
  virtual ~Reporter() = default;

  // Sets the text of status part 0 (what the tool is doing) or part 1
  // (results).
  virtual void ShowStatus(int part, std::string_view text) = 0;
  // A modal error box captioned "ERROR"; returns when it is dismissed.
  virtual void ShowError(std::string_view text) = 0;
  // A modal information box with the given caption ("Fertig").
  virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
  // A fresh progress indicator, range 0..100, position 0.
  virtual void CreateProgress() = 0;
  // Advances the progress indicator by one.
  virtual void StepProgress() = 0;
  // Removes the progress indicator when its work ends.
  virtual void DestroyProgress() = 0;
  // The pause that lets the user read the status line; a front end without
  // a window may skip it.
  virtual void Wait(int milliseconds) = 0;
  // The "Fertig" box that closes a merge run whose output was written.
  // `reportPath` (native bytes) names the report written beside the
  // output, "" when it could not be written; a front end may offer to open
  // it. By default the plain message box.
  virtual void ShowFinished(std::string_view text, const std::string& reportPath) {
    (void)reportPath;
    ShowMessage("Fertig", text);
  }
  // Shows the path of a file being loaded in its slot's field (1001/1002).
  virtual void ShowInputPath(int slot, std::string_view path) { (void)slot, (void)path; }
  // Asks for an existing .ged file, offering `previous`; nothing when the
  // user cancels.
  virtual std::optional<std::string> ChooseFile(std::string_view previous) {
    (void)previous;
    return std::nullopt;
  }
};

// printf-style formatting into a string of any length.
std::string FormatV(const char* format, va_list args);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The status and error helpers with printf formats, as the core calls them.
void ShowStatus(Reporter& reporter, int part, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void ShowError(Reporter& reporter, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace kw

#endif  // KINWEAVE_BASE_REPORTER_H_
