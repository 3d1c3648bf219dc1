// The Reporter of the desktop dialog: the two-part status bar at the foot of
// the dialog, the progress bar that sits directly on top of it while a file
// loads or the export runs, the modal "ERROR" and "Fertig" boxes, the file
// chooser and the one-second waits.
//
// Loads and merges run inside a button handler on the one thread, so every
// change of the status or the progress is painted at once, and a wait keeps
// the window painted while it lasts. Clicks and keys that arrive meanwhile
// wait until the handler returns.
#ifndef KINWEAVE_APP_DESKTOP_QT_REPORTER_H_
#define KINWEAVE_APP_DESKTOP_QT_REPORTER_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QString>

#include "base/reporter.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QStatusBar;
class QUrl;
class QWidget;

namespace kw {

// Windows-1252 text from the core as a QString, its CR LF line ends (and
// lone CRs) made plain line breaks.
QString ToQString(std::string_view cp1252);

class QtReporter : public Reporter {
 public:
  // Answers the file chooser in place of the real one (tests).
  using Chooser = std::function<FileChoice(std::string_view previous)>;
  // Opens a URL in the user's programs; true when that worked.
  using UrlOpener = std::function<bool(const QUrl& url)>;

  // `window` is the dialog; the status bar and the progress bars become its
  // children. Nothing is created before CreateStatusBar.
  explicit QtReporter(QWidget* window) : window_(window) {}

  // The status bar across the foot of the window's client area, 26 pixels
  // high, part 0 its left half and part 1 the rest.
  void CreateStatusBar();
  // The edits that show the path of slot 0 and slot 1.
  void SetPathEdits(QLineEdit* slot0, QLineEdit* slot1);
  // Replaces the file chooser (tests answer it themselves).
  void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }
  // Replaces the opening of the report (tests see the URL instead of a
  // browser).
  void SetUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }

  void ShowStatus(int part, std::string_view text) override;
  void ShowError(std::string_view text) override;
  void ShowMessage(std::string_view caption, std::string_view text) override;
  // The "Fertig" box; with a report, its button "Bericht öffnen" opens the
  // report in the browser (the box closes either way).
  void ShowFinished(std::string_view text, const std::string& reportPath) override;
  void CreateProgress() override;
  void StepProgress() override;
  void DestroyProgress() override;
  void Wait(int milliseconds) override;
  void ShowInputPath(int slot, std::string_view path) override;
  FileChoice ChooseFile(std::string_view previous) override;

  QStatusBar* statusBar() const { return statusBar_; }
  QProgressBar* progressBar() const { return progress_; }

 private:
  FileChoice ChooseWithFileDialog(std::string_view previous);
  // Paints `widget` now and lets the window system show it.
  static void PaintNow(QWidget* widget);
  void OpenReport(const std::string& reportPath);

  QWidget* window_;
  QStatusBar* statusBar_ = nullptr;
  QLabel* statusParts_[2] = {nullptr, nullptr};
  QProgressBar* progress_ = nullptr;
  QLineEdit* pathEdits_[2] = {nullptr, nullptr};
  Chooser chooser_;
  UrlOpener urlOpener_;
};

}  // namespace kw

#endif  // KINWEAVE_APP_DESKTOP_QT_REPORTER_H_
