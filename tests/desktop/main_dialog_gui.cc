// The desktop dialog on the offscreen platform: what it shows at start,
// loading the example files through an injected chooser, the files and
// merges it refuses, a whole merge, the report it offers (opened through a
// hook instead of the browser) and the ways it ends.
//
// No test can hang the suite: a timer presses OK on every message box after
// noting what it said, and a dialog run modally that nothing ends is ended
// by another timer with result -1.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <optional>
#include <string>

#include "main_dialog.h"

namespace kw {
namespace {

// What the dialog says today when the chooser returns nothing; the one
// place that knows these words.
const char kChooserFailed[] = "\nGetOpenFileName failed, error=5";

QString Example(const char* name) {
  return QStringLiteral(KINWEAVE_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ErrorBox(const QString& text) { return QStringLiteral("ERROR [Warning]") + text; }

// Presses OK on every message box that opens while it lives, or "Bericht
// öffnen" where the box has it and `openReport` is set, and notes the box as
// "<caption> [<icon>]<text>", with " +Bericht" when it offers the report.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start(5);
  }
  QStringList boxes;
  bool openReport = false;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    const char* icon = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon());
    auto* open = box->findChild<QPushButton*>(QStringLiteral("openReport"));
    boxes << QStringLiteral("%1 [%2]%3%4")
                 .arg(box->windowTitle(), QString::fromLatin1(icon), box->text(),
                      open != nullptr ? QStringLiteral(" +Bericht") : QString());
    (openReport && open != nullptr ? open : box->button(QMessageBox::Ok))->click();
  }
  QTimer timer_;
};

// A shown dialog and copies of the example files in a temporary folder, the
// first under a name with a blank and an umlaut, the second with an
// upper-case extension in a folder of its own, so that "beside file 1"
// cannot pass for "beside file 2". The chooser returns `answers` in turn
// (nothing once they are used up) and notes the previous choice it was
// offered; every URL the dialog would open is noted in `opened`.
struct Fixture {
  Fixture() {
    dialog.SetUrlOpener([this](const QUrl& url) {
      opened << url;
      return openSucceeds;
    });
    dialog.SetChooser([this](std::string_view previous) {
      offered << QFile::decodeName(QByteArray(previous.data(), qsizetype(previous.size())));
      if (answers.isEmpty()) return FileChoice::Cancelled();
      return FileChoice::Chosen(QFile::encodeName(answers.takeFirst()).toStdString());
    });
    dialog.show();
  }

  QString Copy(const char* example, const QString& name) {
    QString path = dir.filePath(name);
    if (!QDir().mkpath(QFileInfo(path).path()) || !QFile::copy(Example(example), path)) {
      qFatal("cannot copy %s to %s", example, qPrintable(path));
    }
    return path;
  }
  QLineEdit* Edit(const char* id) { return dialog.findChild<QLineEdit*>(id); }
  QPushButton* Button(const char* id) { return dialog.findChild<QPushButton*>(id); }
  void Click(const char* id) { Button(id)->click(); }
  QString Status(int part = 0) {
    return dialog.findChild<QLabel*>(QStringLiteral("statusPart%1").arg(part))->text();
  }
  int Persons(int slot) { return dialog.store().slots[slot].personCount; }

  // Runs the dialog modally, doing `actions` from inside its event loop.
  int Run(std::function<void()> actions) {
    QTimer::singleShot(0, &dialog, std::move(actions));
    QTimer::singleShot(20000, &dialog, [this] { dialog.done(-1); });
    return dialog.exec();
  }
  // Loads both files and presses "VERSCHMELZEN", with `outputName` typed
  // first unless it is empty.
  int LoadBothAndMerge(const QString& outputName = QString()) {
    answers = {file1, file2};
    return Run([this, outputName] {
      Click("3");
      Click("4");
      if (!outputName.isEmpty()) Edit("1003")->setText(outputName);
      Click("1");
    });
  }

  QTemporaryDir dir;
  QString file1 = Copy("datei1.ged", QStringLiteral("Stammbaum Müller.ged"));
  QString file2 = Copy("datei2.ged", QStringLiteral("andere/zweiter.GED"));
  QStringList answers;
  QStringList offered;
  QList<QUrl> opened;
  bool openSucceeds = true;
  BoxAnswerer answerer;
  MainDialog dialog;
};

}  // namespace

class MainDialogTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void StartsWithItsTextsAndEmptyPaths() {
    Fixture f;
    QCOMPARE(f.dialog.windowTitle(), QStringLiteral("kinweave!   V.1.1.5"));
    QStringList labels;  // the parts of the status bar are not direct children
    for (QLabel* label : f.dialog.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
      labels << label->text();
    }
    labels.sort();
    QCOMPARE(labels, (QStringList{"Ausgabedatei", "Datei1", "Datei2 "}));
    QStringList buttons;
    for (const char* id : {"1", "2", "3", "4"}) buttons << f.Button(id)->text();
    QCOMPARE(buttons, (QStringList{"VERSCHMELZEN", "ABBRECHEN", "Suchen", "Suchen"}));
    for (const char* id : {"1001", "1002"}) {
      QCOMPARE(f.Edit(id)->text(), QString());
      QVERIFY(f.Edit(id)->isReadOnly());  // only the chooser fills them
    }
    QCOMPARE(f.Edit("1003")->text(), QStringLiteral("merge.ged"));
    QVERIFY(!f.Edit("1003")->isReadOnly());
    QStatusBar* statusBar = f.dialog.reporter().statusBar();
    QVERIFY(statusBar != nullptr && statusBar->isVisible());
    QCOMPARE(f.Status(0) + f.Status(1), QString());
  }

  void LoadsEachFileThroughItsSuchenButton() {
    Fixture f;
    f.answers = {f.file1, f.file2, f.file1, f.file2};
    f.Click("3");
    QCOMPARE(f.Edit("1001")->text(), f.file1);
    QCOMPARE(f.Status(), QStringLiteral("Stammbaum Müller.ged geladen"));
    QCOMPARE(f.Persons(0), 10);
    QVERIFY(f.dialog.reporter().progressBar() == nullptr);  // gone once the file is in
    f.Click("4");
    QCOMPARE(f.Edit("1002")->text(), f.file2);
    QCOMPARE(f.Status(), QStringLiteral("zweiter.GED geladen"));
    QCOMPARE(f.Persons(1), 12);
    // Each button offers its own previous choice; loading again replaces.
    f.Click("3");
    f.Click("4");
    QCOMPARE(f.offered, (QStringList{QString(), QString(), f.file1, f.file2}));
    QCOMPARE(f.Persons(0), 10);
    QCOMPARE(f.Persons(1), 12);
    QCOMPARE(f.answerer.boxes, QStringList());
  }

  // The real chooser, cancelled, is quiet; a chooser that fails is not.
  void RefusesAFileWithoutGedExtensionAndNothingChosen() {
    Fixture f;
    QString text = f.Copy("datei2.ged", QStringLiteral("familie.txt"));
    f.answers = {f.file1, text};
    f.Click("3");
    f.Click("4");
    QCOMPARE(f.Edit("1002")->text(), text);  // shown, but not loaded
    QVERIFY(!f.dialog.store().slots[1].prepared());
    f.dialog.SetChooser(nullptr);
    QStringList shown;  // its filters, the file selected, whether it must exist
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&shown] {
      auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (chooser == nullptr) return;
      shown = chooser->nameFilters() + chooser->selectedFiles();
      shown << (chooser->fileMode() == QFileDialog::ExistingFile ? "existing" : "any");
      chooser->reject();
    });
    cancel.start(5);
    f.Click("3");
    QCOMPARE(shown, (QStringList{"GED Dateien (*.ged)", f.file1, "existing"}));
    QCOMPARE(f.Edit("1001")->text(), f.file1);  // slot 0 keeps its file
    QCOMPARE(f.Persons(0), 10);
    QCOMPARE(f.answerer.boxes,
             (QStringList{ErrorBox("\nDateierweiterung .ged fehlt in familie.txt")}));
    f.dialog.SetChooser([](std::string_view) { return FileChoice::Failed(5); });
    f.Click("4");
    QCOMPARE(f.answerer.boxes.size(), 2);
    QCOMPARE(f.answerer.boxes.back(), ErrorBox(kChooserFailed));
    QCOMPARE(f.Persons(0), 10);
    QVERIFY(f.dialog.isVisible());
  }

  void RefusedMergeKeepsTheDialogOpen() {
    Fixture f;
    f.answers = {f.file1, f.file2};
    QTest::keyClick(f.Edit("1003"), Qt::Key_Return);  // Enter means "VERSCHMELZEN"
    f.Click("3");
    f.Click("1");
    f.Click("4");
    f.Edit("1003")->setText(QStringLiteral("Stammbaum Müller"));  // ".ged" is added
    f.Click("1");
    f.Edit("1003")->setText(QStringLiteral("andere/zweiter.GED"));
    f.Click("1");
    QString named = QStringLiteral("\nAusgabedatei %1 darf keine Eingabedatei sein");
    QCOMPARE(f.answerer.boxes,
             (QStringList{ErrorBox("\nBitte zuerst Datei1 wählen"),
                          ErrorBox("\nBitte zuerst Datei2 wählen"), ErrorBox(named.arg(f.file1)),
                          ErrorBox(named.arg(f.file2))}));
    QVERIFY(f.dialog.isVisible());
    QCOMPARE(f.Status(), QStringLiteral("zweiter.GED geladen"));  // no run began
  }

  void MergeWritesOutputAndLogBesideFile1AndEnds() {
    Fixture f;
    QCOMPARE(f.LoadBothAndMerge(), 1);
    QString output = f.dir.filePath(QStringLiteral("merge.ged"));
    QCOMPARE(f.answerer.boxes,
             QStringList{
                 QStringLiteral("Fertig [Information]\n%1\n wurde erzeugt +Bericht").arg(output)});
    QVERIFY(f.opened.isEmpty());  // OK opens nothing
    QCOMPARE(f.Status(), QStringLiteral("Fertig!"));
    QByteArray merged = ReadFile(output);
    QVERIFY(merged.startsWith("0 HEAD"));
    QVERIFY(merged.contains("NAME Otto /Mayer/"));                 // only file 2 knows him
    QCOMPARE(merged.count("NAME Johann Georg /M"), qsizetype(1));  // both know him
    QVERIFY(
        ReadFile(f.dir.filePath(QStringLiteral("merge.log"))).contains("/merge.ged wurde erzeugt"));
    QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("log"))));  // moved, not copied
    QCOMPARE(QDir(f.dir.filePath(QStringLiteral("andere"))).entryList(QDir::Files),
             QStringList{"zweiter.GED"});
    QCOMPARE(ReadFile(f.file1), ReadFile(Example("datei1.ged")));
    QCOMPARE(ReadFile(f.file2), ReadFile(Example("datei2.ged")));
  }

  void FertigBoxOpensTheReportOrSaysItCannot() {
    {
      // A scope of its own: a second answerer alive would race the next one.
      Fixture f;
      f.answerer.openReport = true;
      QCOMPARE(f.LoadBothAndMerge(), 1);
      QString report = f.dir.filePath(QStringLiteral("merge.html"));
      QCOMPARE(f.opened, QList<QUrl>{QUrl::fromLocalFile(report)});
      QVERIFY(ReadFile(report).contains("<h2 id=\"verschmolzen\">Verschmolzen</h2>"));
    }
    Fixture failing;
    failing.answerer.openReport = true;
    failing.openSucceeds = false;
    QCOMPARE(failing.LoadBothAndMerge(), 1);
    QCOMPARE(failing.opened.size(), 1);
    QCOMPARE(failing.answerer.boxes.size(), 2);
    QCOMPARE(failing.answerer.boxes[1], ErrorBox("\nBericht kann nicht geöffnet werden"));
  }

  void UnwrittenReportIsNotOffered() {
    Fixture f;
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("merge.html")));
    f.answerer.openReport = true;
    QCOMPARE(f.LoadBothAndMerge(), 1);
    QString report = f.dir.filePath(QStringLiteral("merge.html"));
    QCOMPARE(f.answerer.boxes.size(), 2);
    QCOMPARE(f.answerer.boxes[0],
             ErrorBox(QStringLiteral("\nBericht %1 kann nicht geschrieben werden").arg(report)));
    QVERIFY(f.answerer.boxes[1].startsWith(QStringLiteral("Fertig [Information]")));
    QVERIFY(!f.answerer.boxes[1].endsWith(QStringLiteral(" +Bericht")));
    QVERIFY(f.opened.isEmpty());
    QVERIFY(QFile::exists(f.dir.filePath(QStringLiteral("merge.ged"))));
  }

  void MergeThatCannotWriteStillEnds() {
    Fixture f;
    QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("ordner.ged")));  // not writable as a file
    QCOMPARE(f.LoadBothAndMerge(QStringLiteral("ordner.ged")), 1);
    QVERIFY(!f.answerer.boxes.isEmpty());
    for (const QString& box : f.answerer.boxes)
      QVERIFY2(box.startsWith(ErrorBox("")), qPrintable(box));
  }

  void EndsByAbbrechenEscapeOrClose() {
    auto endBy = [](const std::function<void(Fixture&)>& action) {
      Fixture f;
      return f.Run([&] { action(f); });
    };
    QCOMPARE(endBy([](Fixture& f) { f.Click("2"); }), 2);
    QCOMPARE(endBy([](Fixture& f) { QTest::keyClick(&f.dialog, Qt::Key_Escape); }), 2);
    QCOMPARE(endBy([](Fixture& f) { f.dialog.close(); }), 0);
  }
};

}  // namespace kw

QTEST_MAIN(kw::MainDialogTest)
#include "main_dialog_gui.moc"
