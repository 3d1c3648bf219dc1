// Renders the picture of the dialog the README shows: both example files
// loaded with the two "Suchen" buttons, as a user loads them, drawn on Qt's
// offscreen platform.
//
//     render_dialog OUTPUT.png
//
// The example files are copied to the fixed folder "Ahnenforschung" in the
// temporary directory, so the paths in the picture, and with them the
// picture, change only when the dialog does. The tool refuses to run when
// that folder is there already: it is nobody else's to delete.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string>

#include "main_dialog.h"

namespace {

// The window frame belongs to the window system, which the offscreen
// platform does not draw: a plain title strip carries the caption.
QImage WithTitleStrip(kw::MainDialog& dialog) {
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
  return picture;
}

// Loads both files into a shown dialog and draws it. A message box means
// the load went wrong: it is closed, so nothing waits for a click, and no
// picture is drawn.
std::optional<QImage> Render(const QString& file1, const QString& file2) {
  kw::MainDialog dialog;
  QStringList answers = {file1, file2};
  dialog.SetChooser([&answers](std::string_view) {
    if (answers.isEmpty()) return kw::FileChoice::Cancelled();
    return kw::FileChoice::Chosen(QFile::encodeName(answers.takeFirst()).toStdString());
  });
  QStringList boxes;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&boxes] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    boxes << box->text();
    box->button(QMessageBox::Ok)->click();
  });
  answerer.start(5);
  dialog.show();
  dialog.findChild<QPushButton*>(QStringLiteral("3"))->click();
  dialog.findChild<QPushButton*>(QStringLiteral("4"))->click();
  if (!boxes.isEmpty()) {
    std::fprintf(stderr, "render_dialog: the dialog said: %s\n",
                 qPrintable(boxes.join(QStringLiteral(" / ")).simplified()));
    return std::nullopt;
  }
  dialog.findChild<QPushButton*>(QStringLiteral("1"))->setFocus();
  return WithTitleStrip(dialog);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_dialog OUTPUT.png\n");
    return 2;
  }
  QString output = QString::fromLocal8Bit(argv[1]);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  QDir folder(QDir::temp().filePath(QStringLiteral("Ahnenforschung")));
  if (folder.exists() || !folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "render_dialog: %s is there already or cannot be made; remove it first\n",
                 qPrintable(folder.path()));
    return 1;
  }
  QString examples = QStringLiteral(KINWEAVE_EXAMPLES "/");
  QString file1 = folder.filePath(QStringLiteral("meier-brenner.ged"));
  QString file2 = folder.filePath(QStringLiteral("mayer-linde.ged"));
  std::optional<QImage> picture;
  if (QFile::copy(examples + QStringLiteral("datei1.ged"), file1) &&
      QFile::copy(examples + QStringLiteral("datei2.ged"), file2)) {
    picture = Render(file1, file2);
  } else {
    std::fprintf(stderr, "render_dialog: cannot copy the example files from %s\n",
                 qPrintable(examples));
  }
  // Only what this run put there: the two copies and the log of the loads.
  for (const QString& name : {file1, file2, folder.filePath(QStringLiteral("log"))}) {
    QFile::remove(name);
  }
  QDir::temp().rmdir(QStringLiteral("Ahnenforschung"));

  if (!picture) return 1;
  if (!picture->save(output, "PNG")) {
    std::fprintf(stderr, "render_dialog: cannot write %s\n", qPrintable(output));
    return 1;
  }
  return 0;
}
