// SPDX-License-Identifier: GPL-3.0-or-later
// korvelane-icon-render: writes the program icon as OUT_DIR/NxN/apps/korvelane.png for each size
// given, for the hicolor icon theme. A build tool; not installed.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "app/program_icon.h"

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "Usage: korvelane-icon-render OUT_DIR SIZE...\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QImage image = korvelane::ProgramImage(size);
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
    if (image.isNull() || !QDir().mkpath(folder) ||
        !image.save(folder + QStringLiteral("/korvelane.png"), "PNG")) {
      std::fprintf(stderr, "korvelane-icon-render: cannot write the %s pixel icon\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
