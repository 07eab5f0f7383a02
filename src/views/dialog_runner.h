// SPDX-License-Identifier: GPL-3.0-or-later
// How the views run their modal dialogs: through the main window's hook, which tests replace
// with a script, or with QDialog::exec when there is none.
#pragma once

#include <QDialog>
#include <functional>

namespace korvelane {

// Runs a modal dialog and returns its result (QDialog::Accepted or QDialog::Rejected).
using DialogRunner = std::function<int(QDialog&)>;

inline int RunModal(const DialogRunner& runner, QDialog& dialog) {
  return runner ? runner(dialog) : dialog.exec();
}

}  // namespace korvelane
