// kinweave!: shows the German merge dialog and ends when it closes.
#include <QApplication>

#include <csignal>

#include "main_dialog.h"

int main(int argc, char** argv) {
  // A file size limit makes writes fail instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  kw::MainDialog dialog;
  dialog.exec();
  return 0;
}
