// The one window of the tool: the German dialog where the user chooses
// input file 1 ("Datei1") and input file 2 ("Datei2 "), each loaded at once
// into its slot, names the output file ("Ausgabedatei", "merge.ged") and
// presses "VERSCHMELZEN".
//
// The dialog owns the store, the log and its reporter. It ends with result
// 1 after a merge run, 2 on "ABBRECHEN" (or Escape) and 0 when its window is
// closed. A merge that was refused before it ran (an input file not chosen
// yet, or an output that would overwrite an input) keeps the dialog open, so
// the user can put it right.
//
// The controls carry their ids as object names: the edits "1001" (path of
// file 1), "1002" (path of file 2), "1003" (output name) and the buttons "1"
// ("VERSCHMELZEN"), "2" ("ABBRECHEN"), "3" and "4" ("Suchen" for file 1 and
// file 2).
#ifndef KINWEAVE_APP_DESKTOP_MAIN_DIALOG_H_
#define KINWEAVE_APP_DESKTOP_MAIN_DIALOG_H_

#include <memory>

#include <QDialog>

#include "base/merge_log.h"
#include "qt_reporter.h"
#include "store/store.h"

class QCloseEvent;
class QLineEdit;

namespace kw {

class MainDialog : public QDialog {
 public:
  explicit MainDialog(QWidget* parent = nullptr);
  ~MainDialog() override;

  // Replaces the file chooser of both "Suchen" buttons (tests).
  void SetChooser(QtReporter::Chooser chooser) { reporter_.SetChooser(std::move(chooser)); }
  // Replaces the opening of the report from the "Fertig" box (tests).
  void SetUrlOpener(QtReporter::UrlOpener opener) { reporter_.SetUrlOpener(std::move(opener)); }

  const Store& store() const { return *store_; }
  QtReporter& reporter() { return reporter_; }

  // Escape, like "ABBRECHEN", ends the dialog with result 2.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void Browse(int slot);
  void Merge();

  std::unique_ptr<Store> store_;
  QtReporter reporter_;
  MergeLog log_;
  QLineEdit* pathEdits_[2] = {nullptr, nullptr};
  QLineEdit* outputEdit_ = nullptr;
  bool busy_ = false;  // a load or a merge runs in a button handler
};

}  // namespace kw

#endif  // KINWEAVE_APP_DESKTOP_MAIN_DIALOG_H_
