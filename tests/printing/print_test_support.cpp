// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_test_support.h"

#include <QProcess>
#include <QStandardPaths>

namespace korvelane::testing {

bool HavePdfToText() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

std::string PdfText(const std::string& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
  if (!process.waitForFinished(30000))
    return {};
  return process.readAllStandardOutput().toStdString();
}

}  // namespace korvelane::testing
