// SPDX-License-Identifier: GPL-3.0-or-later
// The OK and Cancel buttons of the program's dialogs.
#pragma once

#include <QDialogButtonBox>

class QDialog;

namespace korvelane {

// "OK" and "Cancel", named for the accessibility bus, wired to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

}  // namespace korvelane
