// SPDX-License-Identifier: GPL-3.0-or-later
// The welcome page: a picture of our own, scaled to the page.
#pragma once

#include <QImage>
#include <QWidget>

namespace korvelane {

class WelcomePage : public QWidget {
  Q_OBJECT

 public:
  explicit WelcomePage(QWidget* parent = nullptr);

  // The 1000 x 873 picture.
  static QImage Picture();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace korvelane
