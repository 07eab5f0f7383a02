// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/alter_file_path_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

namespace korvelane {
namespace {

TEST(AlterFilePathDialog, BrowseReplacesTypedTextWithTheChosenOrStoredFolder) {
  QString answer = QStringLiteral("/data/waves");
  QString prompt;
  AlterFilePathDialog dialog(QStringLiteral("/opt/korvelane"), [&](QWidget*, const QString& p) {
    prompt = p;
    return answer;
  });
  QPushButton* browse = nullptr;
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("Browse"))
      browse = button;
  }
  ASSERT_NE(browse, nullptr);
  dialog.new_path_field()->setText(QStringLiteral("typed"));
  browse->click();
  EXPECT_EQ(prompt, QStringLiteral("Select your path"));
  EXPECT_EQ(dialog.new_path(), QStringLiteral("/data/waves"));

  // A cancelled browse puts back the folder of the earlier browse, not the typed text.
  dialog.new_path_field()->setText(QStringLiteral("typed again"));
  answer.clear();
  browse->click();
  EXPECT_EQ(dialog.new_path(), QStringLiteral("/data/waves"));
}

}  // namespace
}  // namespace korvelane
