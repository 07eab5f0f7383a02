// The program's icon, drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvelane {

QPixmap ProgramPixmap(int size);
QIcon ProgramIcon();

}  // namespace korvelane
