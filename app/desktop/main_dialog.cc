#include "main_dialog.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/version.h"
#include "run/load.h"
#include "run/merge_run.h"

namespace kw {

namespace {

// The dialog is laid out in dialog units of its font, as the layout was
// drawn: a horizontal unit is a quarter of the font's average character
// width, a vertical unit an eighth of its height.
constexpr int kWidthUnits = 315;
constexpr int kHeightUnits = 130;

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    charWidth_ = (alphabet / 26 + 1) / 2;
    charHeight_ = metrics.height();
  }
  int X(int units) const { return (units * charWidth_ + 2) / 4; }
  int Y(int units) const { return (units * charHeight_ + 4) / 8; }
  QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }

 private:
  int charWidth_;
  int charHeight_;
};

QFont DialogFont() {
  QFont font(QStringLiteral("MS Shell Dlg"));
  font.setPointSize(8);
  font.setStyleHint(QFont::SansSerif);  // where that face is missing
  return font;
}

}  // namespace

MainDialog::MainDialog(QWidget* parent)
    : QDialog(parent),
      store_(std::make_unique<Store>()),
      reporter_(this),
      log_(store_->slots[0].filePath, reporter_) {
  setWindowTitle(QStringLiteral("kinweave!   V.") + QString::fromLatin1(kProgramVersion));
  setFont(DialogFont());
  BuildControls();
  reporter_.CreateStatusBar();
  // A fresh store has slot 0's note and source counters at 0 and the note
  // and source tables allocated.
  outputEdit_->setText(QStringLiteral("merge.ged"));
}

MainDialog::~MainDialog() = default;

void MainDialog::BuildControls() {
  DialogUnits units(font());
  setFixedSize(units.X(kWidthUnits), units.Y(kHeightUnits));

  auto label = [&](const char* text, QRect rect) {
    QLabel* l = new QLabel(QString::fromLatin1(text), this);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(rect);
  };
  auto edit = [&](const char* id, QRect rect) {
    QLineEdit* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(id));
    e->setGeometry(rect);
    return e;
  };
  auto button = [&](const char* id, const char* text, QRect rect) {
    QPushButton* b = new QPushButton(QString::fromLatin1(text), this);
    b->setObjectName(QString::fromLatin1(id));
    b->setGeometry(rect);
    return b;
  };

  // In the order of the layout, which is also the tab order.
  label("Datei1", units.Rect(7, 18, 53, 15));
  pathEdits_[0] = edit("1001", units.Rect(42, 16, 199, 15));
  label("Datei2 ", units.Rect(7, 38, 49, 15));
  pathEdits_[1] = edit("1002", units.Rect(42, 36, 199, 15));
  label("Ausgabedatei", units.Rect(7, 60, 80, 15));
  outputEdit_ = edit("1003", units.Rect(61, 58, 113, 15));
  QPushButton* merge = button("1", "VERSCHMELZEN", units.Rect(64, 86, 71, 14));
  QPushButton* cancel = button("2", "ABBRECHEN", units.Rect(184, 86, 50, 14));
  QPushButton* browse1 = button("3", "Suchen", units.Rect(250, 16, 50, 14));
  QPushButton* browse2 = button("4", "Suchen", units.Rect(251, 36, 50, 14));

  // The path edits only show what the chooser returned; the load never
  // reads them.
  pathEdits_[0]->setReadOnly(true);
  pathEdits_[1]->setReadOnly(true);
  merge->setDefault(true);
  setTabOrder(pathEdits_[0], pathEdits_[1]);
  setTabOrder(pathEdits_[1], outputEdit_);
  setTabOrder(outputEdit_, merge);
  setTabOrder(merge, cancel);
  setTabOrder(cancel, browse1);
  setTabOrder(browse1, browse2);
  reporter_.SetPathEdits(pathEdits_[0], pathEdits_[1]);

  connect(merge, &QPushButton::clicked, this, [this] { Merge(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  connect(browse1, &QPushButton::clicked, this, [this] { Browse(0); });
  connect(browse2, &QPushButton::clicked, this, [this] { Browse(1); });
}

void MainDialog::Browse(int slot) {
  busy_ = true;
  FileChoice choice = reporter_.ChooseFile(store_->slots[slot].filePath);
  // A cancelled chooser changes nothing and says nothing.
  if (choice.outcome == FileChoice::Outcome::kChosen) {
    LoadSlot(*store_, log_, reporter_, slot, choice.path);
  } else if (choice.outcome == FileChoice::Outcome::kFailed) {
    ShowError(reporter_, "\r\nGetOpenFileName failed, error=%d", choice.error);
  }
  busy_ = false;
}

void MainDialog::Merge() {
  busy_ = true;
  std::string outputName = QFile::encodeName(outputEdit_->text()).toStdString();
  MergeOutcome outcome = StartMerge(*store_, log_, reporter_, outputName);
  busy_ = false;
  // A refused merge ran nothing and said so in an error box: the user may
  // still choose a file or another name. A run, even one whose export
  // failed, has closed and moved the log and is the last thing the tool
  // does.
  if (outcome == MergeOutcome::kRefused) return;
  done(1);
}

void MainDialog::reject() {
  if (busy_) return;
  done(2);
}

void MainDialog::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();  // a load or merge cannot be broken off
    return;
  }
  done(0);
  event->accept();
}

}  // namespace kw
