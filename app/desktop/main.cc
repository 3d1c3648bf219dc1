// kinweave!: shows the German merge dialog and ends when it closes.
#include <QApplication>

#include "main_dialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kw::MainDialog dialog;
  dialog.exec();
  return 0;
}
