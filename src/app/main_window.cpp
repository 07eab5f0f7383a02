#include "app/main_window.h"

namespace korvelane {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Korvelane"));
  setAccessibleName(QStringLiteral("Korvelane"));
  resize(1024, 700);
}

}  // namespace korvelane
