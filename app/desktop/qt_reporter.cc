#include "qt_reporter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QUrl>

#include "base/codec.h"

namespace kw {

namespace {

constexpr int kStatusBarHeight = 26;
constexpr int kWaitSliceMilliseconds = 10;

}  // namespace

QString ToQString(std::string_view cp1252) {
  std::u32string text;
  DecodeToUnicode(kEncodingPlain, cp1252, text);
  QString result = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QChar('\r'), QChar('\n'));
  return result;
}

void QtReporter::CreateStatusBar() {
  int width = window_->width();
  int height = window_->height();
  statusBar_ = new QStatusBar(window_);
  statusBar_->setObjectName(QStringLiteral("statusBar"));
  statusBar_->setSizeGripEnabled(false);  // the dialog keeps its size
  statusBar_->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
  for (int part = 0; part < 2; ++part) {
    statusParts_[part] = new QLabel(statusBar_);
    statusParts_[part]->setObjectName(QStringLiteral("statusPart%1").arg(part));
    statusParts_[part]->setFrameStyle(QFrame::Panel | QFrame::Sunken);  // two parts, seen as two
    statusParts_[part]->setIndent(4);
  }
  statusBar_->addWidget(statusParts_[0]);
  statusBar_->addWidget(statusParts_[1], 1);
  // Part 0 ends at half the width, part 1 takes the rest: once the bar has
  // placed part 0, its width is cut so that its right edge is the middle.
  statusBar_->layout()->activate();
  statusParts_[0]->setFixedWidth(width / 2 - statusParts_[0]->x());
  statusBar_->show();
}

void QtReporter::SetPathEdits(QLineEdit* slot0, QLineEdit* slot1) {
  pathEdits_[0] = slot0;
  pathEdits_[1] = slot1;
}

void QtReporter::ShowStatus(int part, std::string_view text) {
  QLabel* label = statusParts_[part == 0 ? 0 : 1];
  if (label == nullptr) return;  // no status bar: the text has nowhere to go
  label->setText(ToQString(text));
  PaintNow(statusBar_);
}

void QtReporter::ShowError(std::string_view text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("ERROR"), ToQString(text),
                  QMessageBox::Ok, window_);
  box.exec();
}

void QtReporter::ShowMessage(std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::Information, ToQString(caption), ToQString(text),
                  QMessageBox::Ok, window_);
  box.exec();
}

void QtReporter::ShowFinished(std::string_view text, const std::string& reportPath) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Fertig"), ToQString(text),
                  QMessageBox::Ok, window_);
  QPushButton* open = nullptr;
  if (!reportPath.empty()) {
    open = box.addButton(QStringLiteral("Bericht \u00F6" "ffnen"), QMessageBox::AcceptRole);
    open->setObjectName(QStringLiteral("openReport"));
  }
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
  if (open != nullptr && box.clickedButton() == open) OpenReport(reportPath);
}

void QtReporter::OpenReport(const std::string& reportPath) {
  QString path = QFile::decodeName(
      QByteArray(reportPath.data(), static_cast<qsizetype>(reportPath.size())));
  QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
  bool opened = urlOpener_ ? urlOpener_(url) : QDesktopServices::openUrl(url);
  if (!opened) ShowError("\r\nBericht kann nicht ge\xF6" "ffnet werden");
}

void QtReporter::CreateProgress() {
  delete progress_;  // the most recent bar is the one that steps
  int width = window_->width();
  int height = window_->height();
  // As high as a scroll bar's arrow, directly on top of the status bar.
  int barHeight = window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window_);
  progress_ = new QProgressBar(window_);
  progress_->setObjectName(QStringLiteral("progressBar"));
  progress_->setTextVisible(false);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setGeometry(0, height - barHeight - kStatusBarHeight, width, barHeight);
  progress_->show();
  PaintNow(progress_);
}

void QtReporter::StepProgress() {
  if (progress_ == nullptr) return;
  // One step; a bar that is full stays full.
  if (progress_->value() < progress_->maximum()) progress_->setValue(progress_->value() + 1);
  PaintNow(progress_);
}

void QtReporter::DestroyProgress() {
  delete progress_;
  progress_ = nullptr;
  window_->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtReporter::Wait(int milliseconds) {
  // Sleeping in one piece would leave a frozen, unpainted window: wait in
  // small slices and let paint and window-system events through between
  // them.
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kWaitSliceMilliseconds);
    QThread::msleep(kWaitSliceMilliseconds);
  }
}

void QtReporter::ShowInputPath(int slot, std::string_view path) {
  QLineEdit* edit = pathEdits_[slot == 0 ? 0 : 1];
  if (edit == nullptr) return;
  edit->setText(ToQString(path));
  PaintNow(edit);
}

FileChoice QtReporter::ChooseFile(std::string_view previous) {
  if (chooser_) return chooser_(previous);
  return ChooseWithFileDialog(previous);
}

// Cancelling is no failure; a chooser that was accepted without a file is.
FileChoice QtReporter::ChooseWithFileDialog(std::string_view previous) {
  QFileDialog chooser(window_);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setFileMode(QFileDialog::ExistingFile);
  chooser.setNameFilter(QStringLiteral("GED Dateien (*.ged)"));
  chooser.setDefaultSuffix(QStringLiteral("ged"));
  if (!previous.empty()) {
    // The previous choice is offered again: its folder, its name selected.
    QString path = QFile::decodeName(QByteArray(previous.data(), static_cast<qsizetype>(previous.size())));
    chooser.setDirectory(QFileInfo(path).absolutePath());
    chooser.selectFile(path);
  }
  if (chooser.exec() != QDialog::Accepted) return FileChoice::Cancelled();
  QStringList files = chooser.selectedFiles();
  if (files.isEmpty()) return FileChoice::Failed(0);
  return FileChoice::Chosen(QFile::encodeName(files.first()).toStdString());
}

void QtReporter::PaintNow(QWidget* widget) {
  widget->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace kw
