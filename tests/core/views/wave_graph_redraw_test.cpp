// SPDX-License-Identifier: GPL-3.0-or-later
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

}  // namespace
}  // namespace korvelane
