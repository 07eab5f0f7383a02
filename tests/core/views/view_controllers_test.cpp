// SPDX-License-Identifier: GPL-3.0-or-later
// The views' controllers: the Wave Graph's refresh through the device's hooks, its redraw from
// the store into the graph and the slots, its buttons and boxes; the list views' buttons.
#include <gtest/gtest.h>

#include "core/views/measurement_controller.h"
#include "core/views/wave_data_controller.h"
#include "view_world.h"

namespace korvelane {
namespace {

using testing::ChannelBody;
using testing::MessageRecord;
using testing::ParamBody;
using testing::Strings;

// The forms of both list views, counting what reached them; the range dialog is cancelled.
struct FakeListForms : WaveDataForm, MeasurementForm {
  void EnableFileButtons(bool enable) override { file_buttons += enable ? 1 : -1; }
  bool PutTextOnClipboard(const std::string&) override { return ++calls; }
  bool AskPrintRange(int*, int*) override { return !++calls; }
  void OpenPrintPreview(int, int) override { ++calls; }
  void ShowCaption(const std::string&) override {}
  int calls = 0;
  int file_buttons = 0;  // times enabled, less times disabled
};

using ViewControllersTest = testing::ViewWorld;

TEST_F(ViewControllersTest, RefreshFetchesWhatTheBoxesAskAndRedrawsThroughTheHooks) {
  BindNow();
  form.boxes.measure_ch2 = 1;
  form.boxes.all_data = 1;
  QueueAnswer(OP_WAVE_DATA, ParamBody(true, true, 16, 300));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH1_ALL, 2500, 0));
  QueueAnswer(OP_WAVE_DATA, ChannelBody(WD_CH2_ALL, 4000, 40));
  controller.RefreshWaveGraph();
  // All data of both channels, the measurements of CH2 only.
  const std::vector<testing::Bytes>& writes = link.writes();
  ASSERT_EQ(writes.size(), link_writes_seen + 3);
  EXPECT_EQ(writes.back().at(16), WD_CH2_ALL);
  EXPECT_EQ(writes[writes.size() - 2].at(17), 0);
  EXPECT_EQ(writes.back().at(17), 1);

  // Samples are plotted eighteen codes lower and never below zero; the lists keep the codes.
  ASSERT_EQ(graph.plots[1].data.size(), 2500u);
  const std::pair<size_t, int> plotted[] = {{0, 0}, {17, 0}, {18, 0}, {19, 1}, {255, 237}};
  for (const auto& [sample, value] : plotted)
    EXPECT_EQ(graph.plots[1].data[sample], value) << sample;
  EXPECT_EQ(tables.wave_data_list.text(17, 1), "17");
  EXPECT_EQ(tables.measurement_list.text(kVavg, 2), "500.00mV");
  EXPECT_EQ(graph.plots[2].data.size(), 4000u);
  EXPECT_TRUE(tables.graph_buttons_enabled);
}

TEST_F(ViewControllersTest, RefreshAndAutoOnlyComplainWhileUnboundAndAutoStartsTheTimerOnce) {
  device.connection().StartupLinkTest();
  controller.RefreshWaveGraph();
  controller.PressAuto();
  EXPECT_EQ(Operations(), (Strings{"Refresh the Wave Graph", "Set the refresh mode is : Auto"}));
  const MessageRecord complaint{"The software is not link with device!", "Error",
                                MessageIcon::kExclamation};
  EXPECT_EQ(ui.messages, (std::vector<MessageRecord>{complaint, complaint}));
  EXPECT_EQ(ui.lamp_refreshes, 2);
  EXPECT_TRUE(link.writes().empty());
  EXPECT_EQ(timer.starts, 0);

  controller.Initialise();
  EXPECT_TRUE(form.auto_enabled_);
  BindNow();
  controller.PressAuto();
  controller.PressAuto();
  EXPECT_EQ(timer.starts, 1);
  EXPECT_FALSE(form.auto_enabled_);
  controller.PressManual();
  controller.PressManual();
  EXPECT_EQ(timer.stops, 1);
  EXPECT_TRUE(form.auto_enabled_);
  EXPECT_EQ(Operations().size(), 4u);
  EXPECT_EQ(Operations().back(), "Set the refresh mode is : Manual");
}

TEST_F(ViewControllersTest, PrintCountsTheLongestShownSlotAndIsRefusedWhileNoneIsShown) {
  tables.wave_slots[3] = {0, 1, 0, 4000};
  controller.ShowLoadedSlot(3, LoadMode::kHideWaveData);  // loaded but hidden
  controller.Print();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "There is no graph showed!");
  EXPECT_TRUE(form.previews.empty());

  tables.wave_slots[5] = {0, 1, 0, 800};
  tables.wave_slots[6] = {0, 1, 0, 500};
  form.boxes.show[5] = form.boxes.show[6] = 1;
  controller.ToggleShow(5);
  controller.ToggleShow(6);
  controller.Print();
  EXPECT_EQ(form.previews, std::vector<int>{800});
}

TEST_F(ViewControllersTest, OnlyCountsTheGraphDrawsArePlottedAndChannelsThatAreOffAreHidden) {
  const struct {
    bool on;
    int32_t count;
    size_t plotted;  // samples in the plot afterwards; 3 is the old curve kept
    int slot_count;
    int32_t vert_pos;
    double marker;  // within the screen
  } cases[] = {{true, 200, 0, 0, 16, 10.0},
               {true, 150, 0, 0, 216, 0.0},
               {true, 0, 0, 0, 300, 0.0},
               {true, 300, 3, 300, 116, 5.0},
               {true, 2500, 2500, 2500, -1000, 10.0},
               {false, 4000, 0, 0, 116, 5.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.on << " " << c.count);
    store().ch1.enabled = c.on;
    store().ch1.count = c.count;
    store().ch1.vert_pos = store().ch2.vert_pos = c.vert_pos;
    store().ch2.enabled = true;
    store().ch2.count = 2500;
    tables.wave_slots[1] = {1, 1, 0, 4000};
    graph.plots[1].data = {1, 2, 3};
    controller.RedrawWaveGraph();
    EXPECT_EQ(graph.plots[1].data.size(), c.plotted);
    EXPECT_EQ(tables.wave_slots[1].in_graph, c.slot_count ? 1 : 0);
    EXPECT_EQ(tables.wave_slots[1].in_wave_data, c.slot_count ? 1 : 0);
    EXPECT_EQ(tables.wave_slots[1].count, c.slot_count);
    EXPECT_DOUBLE_EQ(graph.markers[1].position, c.marker);
    EXPECT_DOUBLE_EQ(graph.markers[2].position, c.marker);
    // A channel that is off is hidden and loses its show flag; one that is on stays usable.
    EXPECT_EQ(graph.plots[1].visible, c.on);
    EXPECT_EQ(graph.markers[1].visible, c.on);
    EXPECT_EQ(form.show_enabled, (std::map<int, bool>{{1, c.on}, {2, true}}));
    EXPECT_EQ(form.boxes.show[1], c.on ? 1 : 0);
    EXPECT_EQ(form.boxes.show[2], 1);
  }
}

// Copy and Print are refused before the lists have data; each view's file buttons come on once,
// with its own list's data, not with another's.
TEST_F(ViewControllersTest, ViewButtonsWaitForTheirOwnListsData) {
  FakeListForms data_form;
  FakeListForms measure_form;
  WaveDataController wave_data(context, data_form);
  MeasurementController measurements(context, measure_form);
  wave_data.Copy();
  wave_data.Print();
  measurements.Copy();
  measurements.Print();
  EXPECT_EQ(Operations(), (Strings{"Copy Wave Data", "Print Wave Data", "Copy Measurement",
                                   "Print measurement"}));
  EXPECT_EQ(ui.messages,
            (std::vector<MessageRecord>{
                {"There is no Wave Data for copy!", "Error", MessageIcon::kExclamation},
                {"There is no Wave Data for print!", "Error", MessageIcon::kInformation},
                {"There is no measuremnt for copy", "Error", MessageIcon::kExclamation},
                {"There is no measurement for print!", "Error", MessageIcon::kInformation}}));
  EXPECT_EQ(data_form.calls + measure_form.calls, 0);

  form.file_buttons = false;
  EnableViewButtons(tables);
  tables.wave_slots[1].in_graph = 1;
  EnableViewButtons(tables);
  EXPECT_TRUE(form.file_buttons);
  EXPECT_EQ(data_form.file_buttons, 0);
  EXPECT_EQ(measure_form.file_buttons, 0);
  tables.wave_slots[2].in_measurement = 1;
  EnableViewButtons(tables);
  EXPECT_EQ(data_form.file_buttons, 0);
  EXPECT_EQ(measure_form.file_buttons, 1);
  tables.wave_slots[6].in_wave_data = 1;
  tables.wave_slots[2] = WaveSlot();
  EnableViewButtons(tables);
  EnableViewButtons(tables);
  EXPECT_EQ(data_form.file_buttons, 1);
  EXPECT_EQ(measure_form.file_buttons, 1);
}

}  // namespace
}  // namespace korvelane
