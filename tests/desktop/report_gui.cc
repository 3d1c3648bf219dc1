// The report from the dialog: the "Fertig" box offers "Bericht öffnen",
// which hands the report's file URL to the browser (here to a hook that
// notes it); OK opens nothing; a report that could not be written or
// opened is said so in an error box.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <vector>

#include "main_dialog.h"

namespace kw {
namespace {

struct Box {
  QString caption;
  QString text;
  bool offersReport;
};

// Answers every message box while it lives: presses "Bericht öffnen" where
// the box has it and `openReport` is set, OK otherwise.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(bool openReport) : openReport_(openReport) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  std::vector<Box> boxes;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    auto* open = box->findChild<QPushButton*>(QStringLiteral("openReport"));
    boxes.push_back({box->windowTitle(), box->text(), open != nullptr});
    (openReport_ && open != nullptr ? open : box->button(QMessageBox::Ok))->click();
  }
  bool openReport_;
  QTimer timer_;
};

// A dialog that merges the demo pair in a fresh folder into merge.ged and
// notes every URL it is asked to open.
struct DemoMerge {
  QTemporaryDir dir;
  MainDialog dialog;
  std::vector<QUrl> opened;
  bool openSucceeds = true;

  DemoMerge() {
    QStringList files;
    for (const char* name : {"datei1.ged", "datei2.ged"}) {
      QString target = dir.filePath(QString::fromLatin1(name));
      QFile::copy(QStringLiteral(KINWEAVE_SOURCE_DIR "/examples/") + QString::fromLatin1(name),
                  target);
      files << target;
    }
    dialog.SetChooser([files, next = 0](std::string_view) mutable {
      return FileChoice::Chosen(QFile::encodeName(files[next++ % 2]).toStdString());
    });
    dialog.SetUrlOpener([this](const QUrl& url) {
      opened.push_back(url);
      return openSucceeds;
    });
  }
  // Loads both files, merges and returns the dialog's result.
  int Run() {
    QTimer::singleShot(0, [this] {
      for (const char* id : {"3", "4", "1"}) {
        dialog.findChild<QPushButton*>(QString::fromLatin1(id))->click();
      }
    });
    QTimer::singleShot(30000, &dialog, [this] { dialog.done(-1); });
    return dialog.exec();
  }
  QString Report() const { return dir.filePath(QStringLiteral("merge.html")); }
};

}  // namespace

class ReportGuiTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void FertigBoxOpensTheReport() {
    DemoMerge merge;
    BoxAnswerer answerer(true);
    QCOMPARE(merge.Run(), 1);
    QCOMPARE(answerer.boxes.size(), size_t{1});
    QCOMPARE(answerer.boxes[0].caption, QStringLiteral("Fertig"));
    QVERIFY(answerer.boxes[0].offersReport);
    QCOMPARE(merge.opened.size(), size_t{1});
    QCOMPARE(merge.opened[0], QUrl::fromLocalFile(merge.Report()));
    QFile report(merge.Report());
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readAll().contains("<h2 id=\"verschmolzen\">Verschmolzen</h2>"));
  }

  void OkOpensNothingAndAFailedOpenIsSaid() {
    {
      // Its own scope: a second answerer still alive would race the next one.
      DemoMerge ok;
      BoxAnswerer okAnswerer(false);
      QCOMPARE(ok.Run(), 1);
      QVERIFY(ok.opened.empty());
    }

    DemoMerge failing;
    failing.openSucceeds = false;
    BoxAnswerer answerer(true);
    QCOMPARE(failing.Run(), 1);
    QCOMPARE(failing.opened.size(), size_t{1});
    QCOMPARE(answerer.boxes.size(), size_t{2});
    QCOMPARE(answerer.boxes[1].caption, QStringLiteral("ERROR"));
    QCOMPARE(answerer.boxes[1].text, QStringLiteral("\nBericht kann nicht ge\u00F6"
                                                    "ffnet werden"));
  }

  void UnwrittenReportIsNotOffered() {
    DemoMerge merge;
    QVERIFY(QDir(merge.dir.path()).mkdir(QStringLiteral("merge.html")));
    BoxAnswerer answerer(true);
    QCOMPARE(merge.Run(), 1);
    QCOMPARE(answerer.boxes.size(), size_t{2});
    QCOMPARE(answerer.boxes[0].caption, QStringLiteral("ERROR"));
    QCOMPARE(answerer.boxes[0].text,
             QStringLiteral("\nBericht %1 kann nicht geschrieben werden").arg(merge.Report()));
    QCOMPARE(answerer.boxes[1].caption, QStringLiteral("Fertig"));
    QVERIFY(!answerer.boxes[1].offersReport);
    QVERIFY(merge.opened.empty());
    QVERIFY(QFile::exists(merge.dir.filePath(QStringLiteral("merge.ged"))));
  }
};

}  // namespace kw

QTEST_MAIN(kw::ReportGuiTest)
#include "report_gui.moc"
