// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon, rendered from resources/icons/korvelane.svg (built into the program), so
// the window, the About box and the installed hicolor icons share one artwork.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace korvelane {

// The icon at size x size pixels, transparent around the artwork; a null image if the built-in
// artwork cannot be read.
QImage ProgramImage(int size);

QPixmap ProgramPixmap(int size);
QIcon ProgramIcon();

}  // namespace korvelane
