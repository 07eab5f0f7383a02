// SPDX-License-Identifier: GPL-3.0-or-later
// The DSO Bitmap view in the main window, over the simulated instrument.
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/app_test_support.h"
#include "bitmap_view_world.h"
#include "core/files/bitmap_codec.h"
#include "core/shell/command_ids.h"
#include "panes/right_pane.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

using testing::AppTest;
using Button = DsoBitmapView::Button;

TEST_F(AppTest, TheDsoBitmapViewRefreshesFromTheInstrumentAndOpensFiles) {
  MainWindow& w = Open();
  DsoBitmapView* view = w.dso_bitmap_view();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(w.right_pane()->page(kDsoBitmapView), view);
  EXPECT_EQ(view->title(), "There is no picture now");

  w.RunCommand(kCmdConnect);
  ASSERT_TRUE(w.device().connection().bound());
  w.right_pane()->SelectView(kDsoBitmapView);
  view->button(Button::kRefresh)->click();
  ASSERT_TRUE(presenter.boxes.empty()) << presenter.boxes[0].text;
  EXPECT_TRUE(testing::IsTimeStamp(view->title()));
  EXPECT_EQ(view->controller().picture().width(), 320);
  EXPECT_EQ(view->controller().picture().height(), 240);
  // The temporary file went into the initial path and is gone again.
  EXPECT_TRUE(dir.Names("myTempBmp").empty());

  // Saved from the view, then opened through the shared dialog and the right pane, as the
  // base operation bar's "Bitmap file" row does.
  const std::string saved = dir.File("screen.bmp");
  w.file_dialogs().set_runner([&](const FileDialogRequest& request) {
    EXPECT_EQ(request.folder, dir.path());
    return saved;
  });
  view->button(Button::kSave)->click();
  ASSERT_TRUE(testing::FileExists(saved));
  ASSERT_EQ(w.file_dialogs().OpenFileDialog(kBitmapFile), 1);
  EXPECT_EQ(w.right_pane()->OpenBitmapFile(w.file_dialogs().open_path()), 1);
  EXPECT_EQ(view->title(), saved);
  EXPECT_FALSE(view->button(Button::kAlterTitle)->isEnabled());
  EXPECT_EQ(view->controller().picture().width(), 320);
  w.RunCommand(kCmdDisconnect);
}

}  // namespace
}  // namespace korvelane
