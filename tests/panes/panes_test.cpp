// SPDX-License-Identifier: GPL-3.0-or-later
// The right pane's pages and the "Alter the initial path" dialog.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "panes/alter_file_path_dialog.h"
#include "panes/right_pane.h"

namespace korvelane {
namespace {

TEST(RightPane, ShowsOnePageSelectedByIndexAndAViewTakesThePlaceOfItsPlaceholder) {
  RightPane pane;
  EXPECT_EQ(pane.current_index(), kWelcomePage);
  EXPECT_TRUE(pane.SelectView(kWaveDataView));
  EXPECT_FALSE(pane.SelectView(kWaveMeasurementView + 1));
  EXPECT_FALSE(pane.SelectView(-1));
  EXPECT_EQ(pane.current_index(), kWaveDataView);
  EXPECT_TRUE(pane.SelectView(kWaveMeasurementView));

  // Without changing the current page; the welcome page stays.
  auto* view = new QLabel(QStringLiteral("bitmap view"));
  pane.SelectView(kWaveGraphView);
  pane.SetPage(kDsoBitmapView, view);
  EXPECT_EQ(pane.page(kDsoBitmapView), view);
  EXPECT_EQ(pane.current_index(), kWaveGraphView);
  pane.SetPage(kWelcomePage, new QLabel);
  EXPECT_EQ(pane.page(kWelcomePage)->accessibleName(), QStringLiteral("Welcome"));
}

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
