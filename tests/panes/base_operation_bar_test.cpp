// SPDX-License-Identifier: GPL-3.0-or-later
// The base operation bar's open rows and the shared save dialogs' path limit.
#include "panes/base_operation_bar.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "panes/right_pane.h"
#include "support/log_world.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

class BarTest : public testing::LogWorld {
 protected:
  BarTest() {
    dialogs.set_runner([this](const FileDialogRequest& request) {
      requests.push_back(request);
      return answer;
    });
    pane.SelectView(kWaveGraphView);
  }

  RightPane pane;
  std::vector<std::string> recorded;
  BaseOperationBar bar{[this](int index) { return pane.SelectView(index); },
                       [this](const std::string& text) { recorded.push_back(text); }, debug_log};
  FileDialogs dialogs{[this] { return dir.path(); }};
  std::vector<FileDialogRequest> requests;
  std::string answer;
};

TEST_F(BarTest, AnOpenRowRecordsAsksAndThenShowsItsView) {
  bar.AttachFiles(&dialogs, &pane, nullptr);
  // Cancelled: the action text only, the view in front stays.
  bar.open_button(BaseOperationBar::kDataFileRow)->click();
  EXPECT_EQ(recorded, (std::vector<std::string>{"Open a Wave Data file and show the view"}));
  EXPECT_EQ(pane.current_index(), kWaveGraphView);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].title, "Open Wave Data File");
  EXPECT_EQ(requests[0].folder, dir.path());

  // Chosen: the view comes to the front before the file is loaded into it.
  const struct {
    int row;
    const char* title;
    int view;
    const char* text;
  } rows[] = {
      {BaseOperationBar::kMeasureFileRow, "Open Wave Measurement File", kWaveMeasurementView,
       "Open a Wave Measurement file and show the view"},
      {BaseOperationBar::kGraphFileRow, "Open Wave Graph File", kWaveGraphView,
       "Open a Wave Graph file and show the view"},
      {BaseOperationBar::kBitmapFileRow, "Open Bmp File", kDsoBitmapView,
       "Open a DSO Bitmap file and show the view"},
  };
  answer = dir.File("x.wmf");
  for (const auto& r : rows) {
    bar.OpenFile(r.row);
    EXPECT_EQ(requests.back().title, r.title);
    EXPECT_EQ(pane.current_index(), r.view);
    EXPECT_EQ(recorded.back(), r.text);
  }
  EXPECT_EQ(dialogs.open_path(), dir.File("x.wmf"));

  // Without the right pane the row ends after bringing the view forward.
  bar.AttachFiles(&dialogs, nullptr, nullptr);
  bar.OpenFile(BaseOperationBar::kDataFileRow);
  EXPECT_EQ(pane.current_index(), kWaveDataView);
  EXPECT_TRUE(Logged("基本操作面板中，获取左窗口指针失败"));
}

// Where the limit lies is the core's; here a save past it is no choice, and an open hands the
// path on to its opener, which refuses it with its own message.
TEST_F(BarTest, ASavePathOverTheLimitIsNoChoiceAndAnOpenHandsItOn) {
  const std::string fits = dir.File("fits");
  answer = fits;
  EXPECT_EQ(dialogs.SaveFileDialog(kWaveDataFile), 1);
  answer = dir.File(std::string(261, 'b'));
  EXPECT_EQ(dialogs.SaveFileDialog(kWaveMeasurementFile), 0);
  EXPECT_EQ(dialogs.save_path(), fits);
  EXPECT_EQ(dialogs.OpenFileDialog(kWaveDataFile), 1);
  EXPECT_EQ(dialogs.open_path(), answer);
}

}  // namespace
}  // namespace korvelane
