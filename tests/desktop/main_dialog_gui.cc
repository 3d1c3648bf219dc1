// The desktop dialog on the offscreen platform: its start-up state, loading
// both files through an injected chooser, the error boxes, the ways it ends,
// a whole merge, and the picture of the loaded dialog for the README.
//
// Message boxes are answered by a timer that presses OK on whatever box is
// open, after noting its caption, icon and text.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "main_dialog.h"

namespace kw {
namespace {

struct Box {
  QString caption;
  QMessageBox::Icon icon;
  QString text;
};

// Presses OK on every message box that opens while it lives.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  std::vector<Box> boxes;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    boxes.push_back({box->windowTitle(), box->icon(), box->text()});
    box->button(QMessageBox::Ok)->click();
  }
  QTimer timer_;
};

// Answers the "Suchen" buttons from a queue and notes what was offered.
struct ChooserQueue {
  std::deque<std::optional<QString>> answers;
  std::vector<std::string> offered;

  QtReporter::Chooser Chooser() {
    return [this](std::string_view previous) -> std::optional<std::string> {
      offered.emplace_back(previous);
      if (answers.empty()) return std::nullopt;
      std::optional<QString> answer = answers.front();
      answers.pop_front();
      if (!answer) return std::nullopt;
      return QFile::encodeName(*answer).toStdString();
    };
  }
};

// Johann Müller and Anna Schmidt with a note in file 1; file 2 has the same
// couple and adds their son Karl.
const char kFile1[] =
    "0 HEAD\r\n1 CHAR ANSI\r\n"
    "0 @I1@ INDI\r\n1 NAME Johann /M\xFCller/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 12 MAI 1850\r\n"
    "1 NOTE @N1@\r\n1 FAMS @F1@\r\n"
    "0 @I2@ INDI\r\n1 NAME Anna /Schmidt/\r\n1 SEX F\r\n1 BIRT\r\n2 DATE 1852\r\n1 FAMS @F1@\r\n"
    "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n"
    "0 @N1@ NOTE B\xE4" "cker in Ulm\r\n"
    "0 TRLR\r\n";
const char kFile2[] =
    "0 HEAD\r\n1 CHAR ANSI\r\n"
    "0 @I1@ INDI\r\n1 NAME Anna /Schmidt/\r\n1 SEX F\r\n1 BIRT\r\n2 DATE 1852\r\n1 FAMS @F1@\r\n"
    "0 @I2@ INDI\r\n1 NAME Johann /M\xFCller/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 1850\r\n1 FAMS @F1@\r\n"
    "0 @I3@ INDI\r\n1 NAME Karl /M\xFCller/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 1880\r\n1 FAMC @F1@\r\n"
    "0 @F1@ FAM\r\n1 HUSB @I2@\r\n1 WIFE @I1@\r\n1 CHIL @I3@\r\n"
    "0 TRLR\r\n";

QString WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
  return path;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

QLineEdit* Edit(MainDialog& dialog, const char* id) {
  return dialog.findChild<QLineEdit*>(QString::fromLatin1(id));
}
QPushButton* Button(MainDialog& dialog, const char* id) {
  return dialog.findChild<QPushButton*>(QString::fromLatin1(id));
}
QString StatusText(MainDialog& dialog, int part) {
  return dialog.findChild<QLabel*>(QStringLiteral("statusPart%1").arg(part))->text();
}

// Acts from inside the event loop of a dialog run by Run().
void Later(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

// Runs the dialog modally. One that nothing ends fails with -1 after half
// a minute instead of hanging the suite.
int Run(MainDialog& dialog) {
  QTimer::singleShot(30000, &dialog, [&dialog] { dialog.done(-1); });
  return dialog.exec();
}

}  // namespace

class MainDialogTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void StartsWithItsTextsAndLayout();
  void StatusAndProgressSitAtTheFoot();
  void WaitKeepsTheWindowAlive();
  void LoadsBothFilesThroughTheChooser();
  void ChooserCancelledOrWrongExtensionShowsErrorBox();
  void RealChooserOffersThePreviousFile();
  void AbbrechenEscapeAndClose();
  void RefusedMergeKeepsTheDialog();
  void MergeWhoseExportFailsStillEnds();
  void MergeWritesOutputAndLogAndEnds();
  void RendersTheLoadedDialogForTheReadme();
};

void MainDialogTest::StartsWithItsTextsAndLayout() {
  MainDialog dialog;
  dialog.show();
  QCOMPARE(dialog.windowTitle(), QStringLiteral("kinweave!   V.1.1.5"));

  QStringList labels;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->objectName().startsWith(QStringLiteral("statusPart"))) labels << label->text();
  }
  labels.sort();
  QCOMPARE(labels, (QStringList{"Ausgabedatei", "Datei1", "Datei2 "}));
  QCOMPARE(Edit(dialog, "1001")->text(), QString());
  QCOMPARE(Edit(dialog, "1002")->text(), QString());
  QCOMPARE(Edit(dialog, "1003")->text(), QStringLiteral("merge.ged"));
  QCOMPARE(Button(dialog, "1")->text(), QStringLiteral("VERSCHMELZEN"));
  QCOMPARE(Button(dialog, "2")->text(), QStringLiteral("ABBRECHEN"));
  QCOMPARE(Button(dialog, "3")->text(), QStringLiteral("Suchen"));
  QCOMPARE(Button(dialog, "4")->text(), QStringLiteral("Suchen"));
  QVERIFY(Button(dialog, "1")->isDefault());
  QVERIFY(!Button(dialog, "2")->isDefault());
  QCOMPARE(StatusText(dialog, 0), QString());
  QCOMPARE(StatusText(dialog, 1), QString());

  // Tab order: the three edits, then the buttons by id.
  QStringList order;
  QWidget* widget = Edit(dialog, "1001");
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != Edit(dialog, "1001"));
  QCOMPARE(order, (QStringList{"1001", "1002", "1003", "1", "2", "3", "4"}));

  // The layout: the path edits one above the other with their "Suchen"
  // buttons to the right, the output edit below, the button row below
  // that, everything inside the dialog and above the status bar.
  QRect path1 = Edit(dialog, "1001")->geometry();
  QRect path2 = Edit(dialog, "1002")->geometry();
  QRect output = Edit(dialog, "1003")->geometry();
  QVERIFY(path1.bottom() < path2.top());
  QVERIFY(path2.bottom() < output.top());
  QVERIFY(output.width() < path1.width());
  QVERIFY(Button(dialog, "3")->geometry().left() > path1.right());
  QVERIFY(Button(dialog, "4")->geometry().left() > path2.right());
  QVERIFY(Button(dialog, "1")->geometry().top() > output.bottom());
  QCOMPARE(Button(dialog, "1")->geometry().top(), Button(dialog, "2")->geometry().top());
  QVERIFY(Button(dialog, "1")->geometry().right() < Button(dialog, "2")->geometry().left());
  int statusTop = dialog.reporter().statusBar()->geometry().top();
  for (QWidget* child : dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child == dialog.reporter().statusBar()) continue;
    QVERIFY2(dialog.rect().contains(child->geometry()), qPrintable(child->objectName()));
    QVERIFY2(child->geometry().bottom() < statusTop, qPrintable(child->objectName()));
  }
  // Each label's text fits before its edit begins.
  for (QLabel* label : dialog.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
    int textRight = label->x() + label->fontMetrics().horizontalAdvance(label->text());
    QVERIFY2(textRight < path1.left() || label->text() == "Ausgabedatei", qPrintable(label->text()));
    if (label->text() == "Ausgabedatei") QVERIFY(textRight < output.left());
  }
}

void MainDialogTest::StatusAndProgressSitAtTheFoot() {
  MainDialog dialog;
  dialog.show();
  QStatusBar* statusBar = dialog.reporter().statusBar();
  QCOMPARE(statusBar->geometry(), QRect(0, dialog.height() - 26, dialog.width(), 26));
  QLabel* part0 = dialog.findChild<QLabel*>(QStringLiteral("statusPart0"));
  QLabel* part1 = dialog.findChild<QLabel*>(QStringLiteral("statusPart1"));
  QCOMPARE(part0->geometry().right() + 1 <= dialog.width() / 2, true);
  QVERIFY(part0->geometry().right() + 1 >= dialog.width() / 2 - 4);
  QVERIFY(part1->geometry().left() >= part0->geometry().right());
  QVERIFY(part1->geometry().right() >= dialog.width() - 8);

  dialog.reporter().ShowStatus(0, "Lade M\xFCller.ged ...");
  dialog.reporter().ShowStatus(1, "50% erledigt");
  QCOMPARE(part0->text(), QStringLiteral("Lade Müller.ged ..."));
  QCOMPARE(part1->text(), QStringLiteral("50% erledigt"));

  QVERIFY(dialog.reporter().progressBar() == nullptr);
  dialog.reporter().CreateProgress();
  QProgressBar* progress = dialog.reporter().progressBar();
  QVERIFY(progress != nullptr && progress->isVisible());
  QCOMPARE(progress->minimum(), 0);
  QCOMPARE(progress->maximum(), 100);
  QCOMPARE(progress->value(), 0);
  QCOMPARE(progress->geometry().bottom() + 1, statusBar->geometry().top());
  QCOMPARE(progress->geometry().left(), 0);
  QCOMPARE(progress->width(), dialog.width());
  for (int step = 0; step < 40; ++step) dialog.reporter().StepProgress();
  QCOMPARE(progress->value(), 40);
  for (int step = 0; step < 70; ++step) dialog.reporter().StepProgress();
  QCOMPARE(progress->value(), 100);
  dialog.reporter().DestroyProgress();
  QVERIFY(dialog.reporter().progressBar() == nullptr);
  QVERIFY(dialog.findChild<QProgressBar*>() == nullptr);
}

void MainDialogTest::WaitKeepsTheWindowAlive() {
  MainDialog dialog;
  dialog.show();
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  QElapsedTimer clock;
  clock.start();
  dialog.reporter().Wait(300);
  QVERIFY(clock.elapsed() >= 300);
  QVERIFY(clock.elapsed() < 2000);
  QVERIFY2(ticks >= 5, "events must flow while the dialog waits");
}

void MainDialogTest::LoadsBothFilesThroughTheChooser() {
  QTemporaryDir dir;
  QString file1 = WriteFile(dir.filePath(QStringLiteral("Stammbaum Müller.ged")), kFile1);
  QString file2 = WriteFile(dir.filePath(QStringLiteral("zweiter.GED")), kFile2);
  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {file1, file2, file1};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  dialog.show();

  Button(dialog, "3")->click();
  QCOMPARE(Edit(dialog, "1001")->text(), file1);
  QCOMPARE(StatusText(dialog, 0), QStringLiteral("Stammbaum Müller.ged geladen"));
  QCOMPARE(dialog.store().slots[0].personCount, 2);
  QCOMPARE(dialog.store().slots[0].familyCount, 1);
  // Slot 1 numbers its notes on after slot 0's.
  QVERIFY(dialog.store().slots[0].noteCount > 0);
  QCOMPARE(dialog.store().slots[1].noteCount, dialog.store().slots[0].noteCount);
  QVERIFY(dialog.reporter().progressBar() == nullptr);

  Button(dialog, "4")->click();
  QCOMPARE(Edit(dialog, "1002")->text(), file2);
  QCOMPARE(Edit(dialog, "1001")->text(), file1);
  QCOMPARE(StatusText(dialog, 0), QStringLiteral("zweiter.GED geladen"));
  QCOMPARE(dialog.store().slots[1].personCount, 3);

  // Choosing file 1 again offers the previous choice and loads it again.
  Button(dialog, "3")->click();
  QCOMPARE(dialog.store().slots[0].personCount, 2);
  QCOMPARE(chooser.offered.size(), size_t{3});
  QCOMPARE(chooser.offered[0], std::string());
  QCOMPARE(chooser.offered[1], std::string());
  QCOMPARE(chooser.offered[2], QFile::encodeName(file1).toStdString());
  QVERIFY(answerer.boxes.empty());
  QVERIFY(QFile::exists(dir.filePath(QStringLiteral("log"))));
}

void MainDialogTest::ChooserCancelledOrWrongExtensionShowsErrorBox() {
  QTemporaryDir dir;
  QString wrong = WriteFile(dir.filePath(QStringLiteral("familie.Ged")), kFile1);
  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {std::nullopt, wrong};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  dialog.show();

  Button(dialog, "4")->click();
  QCOMPARE(answerer.boxes.size(), size_t{1});
  QCOMPARE(answerer.boxes[0].caption, QStringLiteral("ERROR"));
  QCOMPARE(answerer.boxes[0].icon, QMessageBox::Warning);
  QCOMPARE(answerer.boxes[0].text, QStringLiteral("\nGetOpenFileName failed, error=0"));
  QCOMPARE(Edit(dialog, "1002")->text(), QString());

  Button(dialog, "3")->click();
  QCOMPARE(answerer.boxes.size(), size_t{2});
  QCOMPARE(answerer.boxes[1].caption, QStringLiteral("ERROR"));
  QCOMPARE(answerer.boxes[1].icon, QMessageBox::Warning);
  QCOMPARE(answerer.boxes[1].text, QStringLiteral("\nDateierweiterung .ged fehlt in familie.Ged"));
  QCOMPARE(Edit(dialog, "1001")->text(), wrong);  // shown, but not loaded
  QVERIFY(!dialog.store().slots[0].prepared());
  QVERIFY(dialog.isVisible());
}

void MainDialogTest::RealChooserOffersThePreviousFile() {
  QTemporaryDir dir;
  QString file1 = WriteFile(dir.filePath(QStringLiteral("eins.ged")), kFile1);
  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {file1};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  dialog.show();
  Button(dialog, "3")->click();
  QCOMPARE(dialog.store().slots[0].personCount, 2);

  // Now the real chooser: look at what it offers, then cancel it.
  dialog.SetChooser(nullptr);
  QStringList filters;
  QString suffix;
  QStringList selected;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  QTimer cancelChooser;
  QObject::connect(&cancelChooser, &QTimer::timeout, [&] {
    auto* chooserDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (chooserDialog == nullptr) return;
    filters = chooserDialog->nameFilters();
    suffix = chooserDialog->defaultSuffix();
    selected = chooserDialog->selectedFiles();
    mode = chooserDialog->fileMode();
    chooserDialog->reject();
  });
  cancelChooser.start(5);
  Button(dialog, "3")->click();
  cancelChooser.stop();

  QCOMPARE(filters, QStringList{QStringLiteral("GED Dateien (*.ged)")});
  QCOMPARE(suffix, QStringLiteral("ged"));
  QCOMPARE(mode, QFileDialog::ExistingFile);
  QCOMPARE(selected, QStringList{file1});
  QCOMPARE(answerer.boxes.size(), size_t{1});
  QCOMPARE(answerer.boxes[0].text, QStringLiteral("\nGetOpenFileName failed, error=0"));
  // The slot keeps what it had.
  QCOMPARE(dialog.store().slots[0].personCount, 2);
}

void MainDialogTest::AbbrechenEscapeAndClose() {
  {
    MainDialog dialog;
    Later([&] { Button(dialog, "2")->click(); });
    QCOMPARE(Run(dialog), 2);
  }
  {
    MainDialog dialog;
    Later([&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QCOMPARE(Run(dialog), 2);
  }
  {
    MainDialog dialog;
    Later([&] { dialog.close(); });
    QCOMPARE(Run(dialog), 0);
  }
}

void MainDialogTest::RefusedMergeKeepsTheDialog() {
  QTemporaryDir dir;
  QString file1 = WriteFile(dir.filePath(QStringLiteral("eins.ged")), kFile1);
  QString file2 = WriteFile(dir.filePath(QStringLiteral("zwei.ged")), kFile2);
  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {file1, file2};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  Later([&] {
    Button(dialog, "1")->click();  // before Datei1 was chosen
    QVERIFY(dialog.isVisible());
    Button(dialog, "3")->click();
    Button(dialog, "4")->click();
    Edit(dialog, "1003")->setText(QStringLiteral("eins.ged"));  // would overwrite Datei1
    Button(dialog, "1")->click();
    QVERIFY(dialog.isVisible());
    Button(dialog, "2")->click();
  });
  QCOMPARE(Run(dialog), 2);
  QCOMPARE(answerer.boxes.size(), size_t{2});
  QCOMPARE(answerer.boxes[0].caption, QStringLiteral("ERROR"));
  QCOMPARE(answerer.boxes[0].text, QStringLiteral("\nBitte zuerst Datei1 wählen"));
  QCOMPARE(answerer.boxes[1].caption, QStringLiteral("ERROR"));
  QCOMPARE(answerer.boxes[1].text,
           QStringLiteral("\nAusgabedatei %1 darf keine Eingabedatei sein").arg(file1));
  QCOMPARE(ReadFile(file1), QByteArray(kFile1));
  QCOMPARE(StatusText(dialog, 0), QStringLiteral("zwei.ged geladen"));  // no run began
}

void MainDialogTest::MergeWhoseExportFailsStillEnds() {
  QTemporaryDir dir;
  QString file1 = WriteFile(dir.filePath(QStringLiteral("eins.ged")), kFile1);
  QString file2 = WriteFile(dir.filePath(QStringLiteral("zwei.ged")), kFile2);
  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ordner.ged")));  // cannot be written as a file
  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {file1, file2};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  Later([&] {
    Button(dialog, "3")->click();
    Button(dialog, "4")->click();
    Edit(dialog, "1003")->setText(QStringLiteral("ordner.ged"));
    Button(dialog, "1")->click();
  });
  QCOMPARE(Run(dialog), 1);
  QVERIFY(!answerer.boxes.empty());
  for (const Box& box : answerer.boxes) {
    QCOMPARE(box.caption, QStringLiteral("ERROR"));
  }
  QCOMPARE(StatusText(dialog, 0), QStringLiteral("Fertig!"));
}

void MainDialogTest::MergeWritesOutputAndLogAndEnds() {
  QTemporaryDir dir;
  QString file1 = WriteFile(dir.filePath(QStringLiteral("eins.ged")), kFile1);
  QDir(dir.path()).mkdir(QStringLiteral("andere"));
  QString file2 = WriteFile(dir.filePath(QStringLiteral("andere/zwei.ged")), kFile2);
  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {file1, file2};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  Later([&] {
    Button(dialog, "3")->click();
    Button(dialog, "4")->click();
    Edit(dialog, "1003")->setText(QStringLiteral("ergebnis"));
    Button(dialog, "1")->click();
  });
  QCOMPARE(Run(dialog), 1);

  QString output = dir.filePath(QStringLiteral("ergebnis.ged"));
  QCOMPARE(answerer.boxes.size(), size_t{1});
  QCOMPARE(answerer.boxes[0].caption, QStringLiteral("Fertig"));
  QCOMPARE(answerer.boxes[0].icon, QMessageBox::Information);
  QCOMPARE(answerer.boxes[0].text, QStringLiteral("\n%1\n wurde erzeugt").arg(output));
  QCOMPARE(StatusText(dialog, 0), QStringLiteral("Fertig!"));
  QVERIFY(StatusText(dialog, 1).endsWith(QStringLiteral(" Familien")));

  QByteArray merged = ReadFile(output);
  QVERIFY(merged.startsWith("0 HEAD"));
  QVERIFY(merged.contains("Karl /M\xFC" "ller/"));  // the son only file 2 knows
  QCOMPARE(merged.count("NAME Johann /M\xFC" "ller/"), 1);  // the father once
  QByteArray log = ReadFile(dir.filePath(QStringLiteral("ergebnis.log")));
  QVERIFY(log.contains(QFile::encodeName(output) + " wurde erzeugt"));
  QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("log"))));
  QCOMPARE(ReadFile(file1), QByteArray(kFile1));
  QCOMPARE(ReadFile(file2), QByteArray(kFile2));
}

void MainDialogTest::RendersTheLoadedDialogForTheReadme() {
  // Always the same folder, so the picture only changes when the dialog does.
  QDir folder(QDir::temp().filePath(QStringLiteral("Ahnenforschung")));
  folder.removeRecursively();
  QVERIFY(folder.mkpath(QStringLiteral(".")));
  QString examples = QStringLiteral(KINWEAVE_SOURCE_DIR "/examples/");
  QByteArray first = ReadFile(examples + QStringLiteral("datei1.ged"));
  QByteArray second = ReadFile(examples + QStringLiteral("datei2.ged"));
  if (first.isEmpty() || second.isEmpty()) QSKIP("examples/datei1.ged or datei2.ged is missing");
  QString file1 = WriteFile(folder.filePath(QStringLiteral("meier-brenner.ged")), first);
  QString file2 = WriteFile(folder.filePath(QStringLiteral("mayer-linde.ged")), second);

  MainDialog dialog;
  ChooserQueue chooser;
  chooser.answers = {file1, file2};
  dialog.SetChooser(chooser.Chooser());
  BoxAnswerer answerer;
  dialog.show();
  Button(dialog, "3")->click();
  Button(dialog, "4")->click();
  QVERIFY(answerer.boxes.empty());
  Button(dialog, "1")->setFocus();

  // The window frame belongs to the window system, which the offscreen
  // platform does not draw: a plain title strip carries the caption.
  QPixmap body = dialog.grab();
  int titleHeight = dialog.fontMetrics().height() + 10;
  QImage picture(body.width(), body.height() + titleHeight, QImage::Format_RGB32);
  picture.fill(QColor(0x3c, 0x4a, 0x5e));
  QPainter painter(&picture);
  painter.setPen(Qt::white);
  painter.setFont(dialog.font());
  painter.drawText(QRect(8, 0, body.width() - 16, titleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   dialog.windowTitle());
  painter.drawPixmap(0, titleHeight, body);
  painter.end();

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QVERIFY(picture.save(&buffer, "PNG"));
  QString target = QStringLiteral(KINWEAVE_SOURCE_DIR "/docs/dialog.png");
  if (ReadFile(target) != png) WriteFile(target, png);
  QCOMPARE(ReadFile(target), png);
  folder.removeRecursively();
}

}  // namespace kw

QTEST_MAIN(kw::MainDialogTest)
#include "main_dialog_gui.moc"
