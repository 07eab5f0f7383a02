// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_user_interface.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

namespace korvelane {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kExclamation:
      return QMessageBox::Warning;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kStop:
      return QMessageBox::Critical;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxPresenter::Show(QWidget* parent, const std::string& text, const std::string& caption,
                               MessageIcon icon) {
  QMessageBox box(ToQt(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok, parent);
  box.setAccessibleName(QString::fromStdString(caption));
  open_boxes_.push_back(&box);
  box.exec();
  open_boxes_.pop_back();
}

void MessageBoxPresenter::CloseOpenBoxes() {
  for (QMessageBox* box : open_boxes_)
    box->done(QMessageBox::Ok);
}

QtUserInterface::QtUserInterface(QWidget* window, MessagePresenter& presenter, bool sleeps)
    : window_(window), presenter_(presenter), sleeps_(sleeps) {}

void QtUserInterface::ShowMessage(const std::string& text, const std::string& caption,
                                  MessageIcon icon) {
  if (!boxes_shown_)
    return;
  // The box must show the normal cursor even inside an exchange.
  const bool waiting = wait_depth_ > 0;
  if (waiting)
    QApplication::restoreOverrideCursor();
  presenter_.Show(window_, text, caption, icon);
  if (waiting)
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInterface::EndBoxes() {
  boxes_shown_ = false;
  presenter_.CloseOpenBoxes();
}

void QtUserInterface::SetWaitCursor(bool on) {
  if (on) {
    ++wait_depth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (wait_depth_ > 0) {
    --wait_depth_;
    QApplication::restoreOverrideCursor();
  }
}

void QtUserInterface::SetPaneText(int pane, const std::string& text) {
  const QString qtext = QString::fromStdString(text);
  if (pane == 0) {
    pane0_text_ = qtext;
    if (panes_.bar)
      panes_.bar->showMessage(qtext);
    return;
  }
  if (pane > 0 && pane < 5 && panes_.panes[pane]) {
    panes_.panes[pane]->setText(qtext);
    // Screen readers read the pane's name and then its text.
    panes_.panes[pane]->setAccessibleDescription(qtext);
  }
}

void QtUserInterface::SetProgressPosition(int position) {
  if (panes_.progress)
    panes_.progress->setValue(position);
}

void QtUserInterface::Sleep(int milliseconds) {
  if (!sleeps_ || milliseconds <= 0)
    return;
  // Keep painting and timers going, but take no user input in the middle of an exchange.
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtUserInterface::RefreshMenuLamps() {
  if (lamp_refresher_)
    lamp_refresher_();
}

}  // namespace korvelane
