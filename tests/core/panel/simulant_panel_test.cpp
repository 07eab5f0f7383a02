// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel/simulant_panel.h"

#include <gtest/gtest.h>

#include <map>

#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::Strings;
using Sends = std::vector<std::pair<int, int>>;

constexpr LampColour kFace = LampRgb(212, 208, 200);
const LampColours kUnlit{kFace, kLampBlack};

class RecordingView : public PanelView {
 public:
  void SetLampColours(int lamp, const LampColours& colours) override { lamps[lamp] = colours; }
  void SetIndicator(bool on) override { indicator = on ? 1 : 0; }
  void ShowKnobTexts(const std::string& current_knob, const std::string& knob_scale) override {
    current = current_knob;
    scale = knob_scale;
  }
  LampColour ButtonFaceColour() const override { return kFace; }

  std::map<int, LampColours> lamps;
  int indicator = -1;
  std::string current;
  std::string scale;
};

// A parameter record whose front-panel state bytes are `state` (entry i at byte 11 - i).
Bytes ParamsWithLamps(const std::array<uint8_t, 8>& state) {
  Bytes body = testing::ParamBody(true, true);
  for (size_t i = 0; i < state.size(); ++i)
    body[11 - i] = state[i];
  return body;
}

class PanelTest : public testing::DeviceTest {
 protected:
  // Bound, the panel open without automatic refresh, the records forgotten.
  void OpenPanel() {
    BindNow();
    QueueAnswer(OP_WAVE_DATA, ParamsWithLamps({1, 0, 1, 0, 1, 0, 1, 2}));
    panel.PrepareOpening();
    panel.Open();
    Forget();
    view = RecordingView();
    link_writes_seen = link.writes().size();
  }
  std::vector<Bytes> Writes() const {
    return {link.writes().begin() + static_cast<long>(link_writes_seen), link.writes().end()};
  }
  // Code and value of each panel-key request since the panel opened.
  Sends KeySends() const {
    Sends sends;
    for (const Bytes& w : Writes()) {
      if (w[13] == OP_PANEL_KEY)
        sends.emplace_back(w[16], w[17]);
    }
    return sends;
  }
  void AnswerKey(uint8_t result = 0) { QueueAnswer(OP_PANEL_KEY, Body(4, {result})); }
  void Steps(int knob, int count) {
    for (int i = 0; i < (count < 0 ? -count : count); ++i)
      panel.StepKnob(knob, count < 0 ? -1 : 1);
  }
  void KnobDone() {
    AnswerKey();
    panel.KnobDone();
  }

  bool auto_refresh = false;
  RecordingView view;
  SimulantPanel panel{
      PanelContext{device.store(), device.connection(), device.acquisition(),
                   device.busy_indicator(), ui, operate_log, [this] { return auto_refresh; }},
      view};
};

TEST_F(PanelTest, OpeningFetchesTheLampsOnlyWithoutAutomaticRefreshAndRefreshFetchesThemAgain) {
  BindNow();
  store().panel_state.fill(1);
  QueueAnswer(OP_WAVE_DATA, ParamsWithLamps({1, 0, 0, 0, 1, 0, 1, 2}));
  panel.PrepareOpening();
  EXPECT_TRUE(panel.Open());  // "Refresh" shown
  EXPECT_EQ(view.current, SimulantPanel::kNoKnobText);
  EXPECT_EQ(view.lamps[kLampCursor], (LampColours{kLampGreen, kLampMagenta}));
  EXPECT_EQ(view.lamps[kLampRef], kUnlit);
  EXPECT_EQ(view.lamps[kLampRunStop], (LampColours{kLampRed, kLampWhite}));
  EXPECT_EQ(view.indicator, 1);
  EXPECT_EQ(view.lamps.size(), 7u);
  EXPECT_EQ(ui.events, (Strings{"wait:on", "wait:off"}));
  EXPECT_EQ(ui.panes[1], "Ready...");
  // The lamps come with both channels' parameters, which go back to their start values.
  for (int channel : {1, 2}) {
    const ChannelData& data = store().channel(channel);
    EXPECT_EQ(data.enabled, false) << channel;
    EXPECT_EQ(data.vert_pos, 0) << channel;
    EXPECT_EQ(data.volts_text, "0 V") << channel;
  }

  // An instrument that does not answer leaves every lamp dark rather than stale.
  panel.PrepareOpening();
  panel.Open();
  for (const auto& [lamp, colours] : view.lamps)
    EXPECT_EQ(colours, kUnlit) << lamp;

  Forget();  // "Refresh" fetches the lamps under the wait cursor, the bar moved in thirds
  QueueAnswer(OP_WAVE_DATA, ParamsWithLamps({1, 0, 0, 0, 1, 0, 1, 2}));
  panel.Refresh();
  EXPECT_EQ(ui.events, (Strings{"wait:on", "wait:off"}));
  EXPECT_EQ(ui.progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 100, 0}));
  EXPECT_EQ(view.lamps[kLampCursor], (LampColours{kLampGreen, kLampMagenta}));

  const size_t requests = link.writes().size();
  auto_refresh = true;
  panel.PrepareOpening();
  EXPECT_FALSE(panel.Open());
  EXPECT_EQ(link.writes().size(), requests);
}

TEST_F(PanelTest, KnobStepsAreCountedShownAndSentInOneGoAndAnotherKnobOrAKeyDropsThem) {
  const std::string done = SimulantPanel::kDoneText;
  OpenPanel();
  panel.KnobDone();  // nothing pending: nothing sent, nothing recorded
  EXPECT_TRUE(Operations().empty());
  Steps(kKnobSdiv, 3);
  EXPECT_EQ(view.current, "S/div knob");
  EXPECT_EQ(view.scale, "  3");
  KnobDone();
  EXPECT_EQ(view.current, SimulantPanel::kNoKnobText);
  EXPECT_EQ(view.scale, "0");
  Steps(kKnobLevel, -5);
  KnobDone();
  Steps(kKnobCh1Vdiv, 2);
  panel.StepKnob(kKnobLevel, 1);
  KnobDone();
  EXPECT_EQ(Operations(), (Strings{"S/div knob oper", done, "Level knob oper", done,
                                   "CH1 V/div knob oper", "Level knob oper", done}));
  operate_log.FlushOnExit();  // the operate log holds ten lines
  Forget();

  Steps(kKnobUniversal, 4);
  AnswerKey();
  panel.PressKey(kKeyMeasure);
  panel.KnobDone();
  Steps(kKnobSdiv, 2);
  AnswerKey();
  panel.PressKnob(kKeyCh2VdivPress);
  // The bar's steps of ten: 10/4 then 10/4 x 2 for a key, 10/3 for a knob press, truncated.
  EXPECT_EQ(ui.progress,
            (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 100, 0, 10, 20, 30, 100, 0}));
  EXPECT_EQ(view.current, "CH2 V/div knob");
  EXPECT_EQ(view.scale, "0");
  panel.KnobDone();
  EXPECT_EQ(Operations(), (Strings{"Universal knob oper", "MEASURE click down", "S/div knob oper",
                                   "CH2 V/div knob click down", done}));

  // More steps than one byte holds send the most it holds: the low 8 bits alone would send none.
  Steps(kKnobSdiv, 256);
  KnobDone();
  Steps(kKnobCh2VerPosition, -300);
  KnobDone();
  EXPECT_EQ(KeySends(),
            (Sends{{47, 3}, {113, 5}, {111, 1}, {5, 1}, {12, 1}, {47, 255}, {161, 255}}));
}

TEST_F(PanelTest, FailedSendsSkipTheLampsAndStillDropTheSteps) {
  OpenPanel();
  AnswerKey(1);
  panel.PressKey(kKeySingle);
  EXPECT_EQ(ui.messages.at(0).text, "The Simulant Pane oper failed!");
  EXPECT_EQ(Writes().size(), 1u);
  EXPECT_TRUE(view.lamps.empty());
  EXPECT_FALSE(ui.wait_cursor);

  Steps(kKnobCh1VerPosition, 7);
  AnswerKey(1);
  panel.KnobDone();
  EXPECT_EQ(KeySends().back(), (std::pair<int, int>{143, 7}));
  EXPECT_EQ(view.current, SimulantPanel::kNoKnobText);
}

}  // namespace
}  // namespace korvelane
