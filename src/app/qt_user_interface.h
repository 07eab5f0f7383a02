// SPDX-License-Identifier: GPL-3.0-or-later
// The core's user interface on Qt widgets: message boxes, wait cursor, status panes, progress bar,
// sleeps and the connection lamps.
#pragma once

#include <QPointer>
#include <functional>
#include <vector>

#include "core/common/user_interface.h"

class QLabel;
class QMessageBox;
class QProgressBar;
class QStatusBar;
class QWidget;

namespace korvelane {

// Shows a message box; tests replace it to capture the boxes instead of showing them.
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  virtual void Show(QWidget* parent, const std::string& text, const std::string& caption,
                    MessageIcon icon) = 0;
  // Closes the boxes being shown, as their OK would.
  virtual void CloseOpenBoxes() {}
};

// The presenter of the running program: a modal QMessageBox.
class MessageBoxPresenter : public MessagePresenter {
 public:
  void Show(QWidget* parent, const std::string& text, const std::string& caption,
            MessageIcon icon) override;
  void CloseOpenBoxes() override;

 private:
  std::vector<QMessageBox*> open_boxes_;  // innermost last
};

struct StatusPanes {
  QStatusBar* bar = nullptr;  // pane 0 is the bar's own message area
  QLabel* panes[5] = {};      // panes 1, 3 and 4 are labels; pane 2 holds the progress bar
  QProgressBar* progress = nullptr;
};

class QtUserInterface : public UserInterface {
 public:
  // `sleeps` false makes Sleep return at once (tests).
  QtUserInterface(QWidget* window, MessagePresenter& presenter, bool sleeps);

  void set_status_panes(const StatusPanes& panes) { panes_ = panes; }
  void set_lamp_refresher(std::function<void()> refresher) {
    lamp_refresher_ = std::move(refresher);
  }
  // The program is ending with nobody to answer a box: the boxes open are closed and no more
  // are shown (every failure they report is also in the debug log).
  void EndBoxes();

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void SetWaitCursor(bool on) override;
  void SetPaneText(int pane, const std::string& text) override;
  void SetProgressPosition(int position) override;
  void Sleep(int milliseconds) override;
  void RefreshMenuLamps() override;

  // Text of pane 0 as last set (the bar may show a menu prompt over it meanwhile).
  const QString& pane0_text() const { return pane0_text_; }

 private:
  QPointer<QWidget> window_;
  MessagePresenter& presenter_;
  bool sleeps_;
  StatusPanes panes_;
  QString pane0_text_;
  int wait_depth_ = 0;
  bool boxes_shown_ = true;
  std::function<void()> lamp_refresher_;
};

}  // namespace korvelane
