// The redraw from the acquisition store into the graph, the lists and the slots.
#include <gtest/gtest.h>

#include "core/protocol/unit_table.h"
#include "view_world.h"

namespace korvelane {
namespace {

using testing::FakeGraph;

class RedrawTest : public testing::ViewWorld {
 protected:
  void SetChannel(int channel, bool on, int32_t count, int32_t vert_pos = 116) {
    ChannelData& data = store().channel(channel);
    data.enabled = on;
    data.count = count;
    data.vert_pos = vert_pos;
    for (int i = 0; i < kMaxSamples; ++i)
      data.samples[static_cast<size_t>(i)] = static_cast<uint8_t>(100 + channel);
  }
  const FakeGraph::Plot& Plot(int n) const { return graph.plots[n]; }
};

TEST_F(RedrawTest, ShortOrResetCountsClearThePlotAndLeaveTheSlotEmpty) {
  for (int32_t count : {200, 150, 0}) {
    SCOPED_TRACE(count);
    SetChannel(1, true, count);
    tables.wave_slots[1] = {1, 1, 0, 4000};
    graph.plots[1].data.assign(10, 1);
    controller.RedrawWaveGraph();
    EXPECT_TRUE(Plot(1).data.empty());
    EXPECT_EQ(tables.wave_slots[1].in_graph, 0);
    EXPECT_EQ(tables.wave_slots[1].in_wave_data, 0);
    EXPECT_EQ(tables.wave_slots[1].count, 0);
    // The channel is on, so its plot, marker and box stay visible and usable.
    EXPECT_TRUE(Plot(1).visible);
    EXPECT_TRUE(form.show_enabled[1]);
  }
}

TEST_F(RedrawTest, ACountTheGraphDoesNotDrawMarksTheSlotButKeepsThePlot) {
  SetChannel(1, true, 300);
  graph.plots[1].data = {1, 2, 3};
  controller.RedrawWaveGraph();
  EXPECT_EQ(Plot(1).data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(Plot(1).clears, 0);
  EXPECT_EQ(tables.wave_slots[1].in_graph, 1);
  EXPECT_EQ(tables.wave_slots[1].in_wave_data, 1);
  EXPECT_EQ(tables.wave_slots[1].count, 300);
}

TEST_F(RedrawTest, SamplesArePlottedEighteenCodesLowerAndNeverBelowZero) {
  SetChannel(2, true, 250);
  AcquisitionStore& s = store();
  s.ch2.samples[0] = 0;
  s.ch2.samples[1] = 17;
  s.ch2.samples[2] = 18;
  s.ch2.samples[3] = 255;
  s.ch2.samples[4] = 19;
  controller.RedrawWaveGraph();
  ASSERT_EQ(Plot(2).data.size(), 250u);
  EXPECT_EQ(Plot(2).data[0], 0);
  EXPECT_EQ(Plot(2).data[1], 0);
  EXPECT_EQ(Plot(2).data[2], 0);
  EXPECT_EQ(Plot(2).data[3], 237);
  EXPECT_EQ(Plot(2).data[4], 1);
  EXPECT_EQ(s.ch2.samples[3], 255);  // the store keeps the raw codes
  EXPECT_EQ(tables.wave_data_list.text(3, 2), "255");
}

TEST_F(RedrawTest, EveryDrawnCountIsPlottedWhole) {
  for (int32_t count : {250, 500, 1000, 1250, 2000, 2500, 4000}) {
    SetChannel(1, true, count);
    controller.RedrawWaveGraph();
    EXPECT_EQ(Plot(1).data.size(), static_cast<size_t>(count));
  }
  const int sets = Plot(1).data_sets;
  for (int32_t count : {249, 3999, 4001, 100000}) {
    SetChannel(1, true, count);
    controller.RedrawWaveGraph();
  }
  EXPECT_EQ(Plot(1).data_sets, sets);
}

TEST_F(RedrawTest, VerticalPositionsPlaceTheMarkersAndFillVertPos) {
  const struct {
    int32_t vert_pos;
    double marker;
    const char* text;
  } cases[] = {{16, 10.0, "200"},
               {216, 0.0, "0"},
               {300, 0.0, "-84"},
               {116, 5.0, "100"},
               {-1000, 10.0, "1216"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vert_pos);
    SetChannel(1, true, 2500, c.vert_pos);
    SetChannel(2, true, 2500, c.vert_pos);
    controller.RedrawWaveGraph();
    EXPECT_DOUBLE_EQ(graph.markers[1].position, c.marker);
    EXPECT_DOUBLE_EQ(graph.markers[2].position, c.marker);
    EXPECT_EQ(tables.parameter_list.text(ParameterList::kVertPos, 1), c.text);
    EXPECT_EQ(tables.parameter_list.text(ParameterList::kVertPos, 2), c.text);
  }
}

TEST_F(RedrawTest, AChannelThatIsOffIsHiddenAndShowsStarsInItsColumns) {
  SetChannel(1, false, 4000);
  SetChannel(2, true, 4000);
  form.boxes.show[1] = 1;
  controller.RedrawWaveGraph();
  EXPECT_FALSE(Plot(1).visible);
  EXPECT_FALSE(graph.markers[1].visible);
  EXPECT_TRUE(Plot(2).visible);
  EXPECT_TRUE(graph.markers[2].visible);
  EXPECT_EQ(Plot(1).clears, 1);
  for (int row = 0; row < ParameterList::kRows; ++row)
    EXPECT_EQ(tables.parameter_list.text(row, 1), "****");
  EXPECT_EQ(tables.wave_data_list.text(0, 1), "**");
  EXPECT_EQ(tables.wave_data_list.text(3999, 1), "**");
  EXPECT_EQ(tables.wave_data_list.text(0, 2), "102");
  EXPECT_FALSE(form.show_enabled[1]);
  EXPECT_TRUE(form.show_enabled[2]);
  EXPECT_EQ(form.boxes.show[1], 0);
  EXPECT_EQ(form.boxes.show[2], 1);
}

TEST_F(RedrawTest, BothMeasureBoxesFillBothColumnsAndTheCaptionNamesCh2) {
  SetChannel(1, true, 2500);
  SetChannel(2, true, 2500);
  for (ChannelData* data : {&store().ch1, &store().ch2}) {
    for (int item = 0; item < kMeasurementItemCount; ++item)
      EncodeMeasurementRecord({true, data == &store().ch1 ? 1.0f : 2.0f, kUnitV, 1},
                              data->measure.data() + item * 16);
  }
  selectors().ch1_measure_wanted = 1;
  selectors().ch2_measure_wanted = 1;
  controller.RedrawWaveGraph();
  EXPECT_EQ(tables.measurement_list.text(kVpp, 1), "1.0V");
  EXPECT_EQ(tables.measurement_list.text(kVpp, 2), "2.0V");
  EXPECT_EQ(tables.measurement_list.text(kVpp, 8), "Fail");  // CH2's 2000 mV
  EXPECT_EQ(tables.measurement_list.caption(), "The current Wave to 'Pass|Fail':  CH2");
  EXPECT_EQ(tables.wave_slots[1].in_measurement, 1);
  EXPECT_EQ(tables.wave_slots[2].in_measurement, 1);
  EXPECT_TRUE(tables.measure_buttons_enabled);
}

TEST_F(RedrawTest, TheRedrawRepaintsOnceAndWritesTheBoxesBackLast) {
  SetChannel(1, true, 1000);
  SetChannel(2, false, 1000);
  form.boxes.show[1] = 0;  // the user hid CH1 before the refresh
  controller.ToggleShow(1);
  EXPECT_EQ(graph.redraws, 1);
  controller.RedrawWaveGraph();
  EXPECT_EQ(graph.redraws, 2);
  EXPECT_EQ(form.writes, 1);
  EXPECT_EQ(form.boxes.show[1], 1);
  EXPECT_TRUE(Plot(1).visible);
}

TEST_F(RedrawTest, TheFirstDrawnWaveEnablesTheFileButtonsForGood) {
  controller.Initialise();
  EXPECT_FALSE(form.file_buttons);
  SetChannel(1, true, 200);
  controller.RedrawWaveGraph();
  EXPECT_FALSE(form.file_buttons);
  SetChannel(1, true, 500);
  controller.RedrawWaveGraph();
  EXPECT_TRUE(form.file_buttons);
  EXPECT_TRUE(tables.wave_data_buttons_enabled);
  SetChannel(1, false, 500);
  controller.RedrawWaveGraph();
  EXPECT_TRUE(form.file_buttons);
  EXPECT_EQ(tables.wave_slots[1].in_graph, 0);
}

}  // namespace
}  // namespace korvelane
