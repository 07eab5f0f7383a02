#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

namespace korvelane {
namespace {

TEST(MainWindow, StartsTitledKorvelaneAndClosesCleanly) {
  int argc = 1;
  char name[] = "test_app";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  MainWindow window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Korvelane"));
  window.show();
  QTimer::singleShot(0, &window, &QWidget::close);
  EXPECT_EQ(app.exec(), 0);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace korvelane
