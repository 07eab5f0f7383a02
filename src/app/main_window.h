// The program's only top-level window.
#pragma once

#include <QMainWindow>

namespace korvelane {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace korvelane
