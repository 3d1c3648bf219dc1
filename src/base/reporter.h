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
#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <string_view>

namespace kw {

// What the file chooser gave.
struct FileChoice {
  enum class Outcome {
    kChosen,     // `path` holds the file, native bytes
    kCancelled,  // the user chose nothing: nothing is to be said
    kFailed,     // the chooser itself failed; `error` is the platform's code
  };
  Outcome outcome = Outcome::kCancelled;
  std::string path;
  int error = 0;

  static FileChoice Chosen(std::string path) { return {Outcome::kChosen, std::move(path), 0}; }
  static FileChoice Cancelled() { return {Outcome::kCancelled, std::string(), 0}; }
  static FileChoice Failed(int error) { return {Outcome::kFailed, std::string(), error}; }
};

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
  // Asks for an existing .ged file, offering `previous`.
  virtual FileChoice ChooseFile(std::string_view previous) {
    (void)previous;
    return FileChoice::Cancelled();
  }

  // What must happen before the core shows a box (the log writes out what
  // it holds); the ShowError and ShowMessage helpers below call it.
  void SetBeforeBox(std::function<void()> hook) { beforeBox_ = std::move(hook); }
  void BeforeBox() {
    if (beforeBox_) beforeBox_();
  }

 private:
  std::function<void()> beforeBox_;
};

// printf-style formatting into a string of any length.
std::string FormatV(const char* format, va_list args);
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The status and box helpers with printf formats, as the core calls them:
// the boxes first let the reporter's BeforeBox hook run.
void ShowStatus(Reporter& reporter, int part, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void ShowError(Reporter& reporter, const char* format, ...) __attribute__((format(printf, 2, 3)));
void ShowMessage(Reporter& reporter, const char* caption, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

}  // namespace kw

#endif  // KINWEAVE_BASE_REPORTER_H_
