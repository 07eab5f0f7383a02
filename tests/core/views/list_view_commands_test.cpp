// SPDX-License-Identifier: GPL-3.0-or-later
// The buttons of the Wave Data and Measurement views: copy, print hand-off and the buttons that
// wait for data.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "core/views/copy_text.h"
#include "core/views/measurement_controller.h"
#include "core/views/wave_data_controller.h"
#include "view_world.h"

namespace korvelane {
namespace {

using testing::Strings;

// What both views' forms record.
template <class Form>
class FakeListForm : public Form {
 public:
  void EnableFileButtons(bool enable) override { enables.push_back(enable); }
  bool PutTextOnClipboard(const std::string& text) override {
    clipboard = text;
    return clipboard_works;
  }
  void OpenPrintPreview(int first_item, int item_count) override {
    previews.emplace_back(first_item, item_count);
  }

  std::vector<bool> enables;
  std::optional<std::string> clipboard;
  bool clipboard_works = true;
  std::vector<std::pair<int, int>> previews;
};

class FakeWaveDataForm : public FakeListForm<WaveDataForm> {
 public:
  bool AskPrintRange(int* first, int* last) override {
    asked.emplace_back(*first, *last);
    if (!range)
      return false;
    *first = range->first;
    *last = range->second;
    return true;
  }
  std::vector<std::pair<int, int>> asked;
  std::optional<std::pair<int, int>> range;
};

class FakeMeasurementForm : public FakeListForm<MeasurementForm> {
 public:
  void ShowCaption(const std::string& caption) override { captions.push_back(caption); }
  Strings captions;
};

class ListCommandsTest : public testing::ViewWorld {
 protected:
  ViewContext Context() { return ViewContext{device.store(), tables, operate_log, debug_log, ui}; }
};

TEST_F(ListCommandsTest, WaveDataCopyAndPrintAreRefusedBeforeAnyWaveData) {
  FakeWaveDataForm form;
  WaveDataController view(Context(), form);
  view.Copy();
  view.Print();
  EXPECT_EQ(Operations(), (Strings{"Copy Wave Data", "Print Wave Data"}));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"There is no Wave Data for copy!", "Error",
                                                    MessageIcon::kExclamation}));
  EXPECT_EQ(ui.messages[1], (testing::MessageRecord{"There is no Wave Data for print!", "Error",
                                                    MessageIcon::kInformation}));
  EXPECT_TRUE(Logged("WARNING:打印失败：波形数据列表中当前没有数据"));
  EXPECT_FALSE(form.clipboard);
  EXPECT_TRUE(form.asked.empty());
  EXPECT_TRUE(form.previews.empty());
}

TEST_F(ListCommandsTest, MeasurementCopyAndPrintAreRefusedBeforeAnyMeasurement) {
  FakeMeasurementForm form;
  MeasurementController view(Context(), form);
  view.Copy();
  view.Print();
  EXPECT_EQ(Operations(), (Strings{"Copy Measurement", "Print measurement"}));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "There is no measuremnt for copy");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(ui.messages[1], (testing::MessageRecord{"There is no measurement for print!", "Error",
                                                    MessageIcon::kInformation}));
  EXPECT_TRUE(Logged("WARNING:打印失败：波形测量值数据列表中当前没有数据"));
  EXPECT_FALSE(form.clipboard);
  EXPECT_TRUE(form.previews.empty());
}

}  // namespace
}  // namespace korvelane
