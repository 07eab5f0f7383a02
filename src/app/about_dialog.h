// SPDX-License-Identifier: GPL-3.0-or-later
// "About  Korvelane 2.0".
#pragma once

#include <QDialog>

namespace korvelane {

constexpr const char* kSoftVersion = "2.01.03.10.03";

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace korvelane
