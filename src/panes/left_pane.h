// SPDX-License-Identifier: GPL-3.0-or-later
// The left pane: one page, "Base Oper", holding the base operation bar.
#pragma once

#include <QWidget>

namespace korvelane {

class BaseOperationBar;

class LeftPane : public QWidget {
  Q_OBJECT

 public:
  explicit LeftPane(BaseOperationBar* bar, QWidget* parent = nullptr);
  BaseOperationBar* bar() const { return bar_; }

 private:
  BaseOperationBar* bar_;
};

}  // namespace korvelane
