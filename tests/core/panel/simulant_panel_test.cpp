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
const LampColours kLit{kLampGreen, kLampMagenta};
const LampColours kUnlit{kFace, kLampBlack};
const LampColours kStopped{kLampRed, kLampWhite};

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
  // Bound, the panel open with automatic refresh as given, the records forgotten.
  void OpenPanel(bool automatic) {
    BindNow();
    auto_refresh = automatic;
    if (!automatic)
      QueueAnswer(OP_WAVE_DATA, ParamsWithLamps({1, 0, 1, 0, 1, 0, 1, 2}));
    panel.PrepareOpening();
    panel.Open();
    Forget();
    view = RecordingView();
    writes_seen = link.writes().size();
  }
  std::vector<Bytes> Writes() const {
    return {link.writes().begin() + static_cast<long>(writes_seen), link.writes().end()};
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
  size_t writes_seen = 0;
};

TEST_F(PanelTest, OpeningFetchesTheLampsOnlyWithoutAutomaticRefresh) {
  BindNow();
  store().panel_state.fill(1);
  QueueAnswer(OP_WAVE_DATA, ParamsWithLamps({1, 0, 0, 0, 1, 0, 1, 2}));
  panel.PrepareOpening();
  EXPECT_TRUE(panel.Open());  // "Refresh" shown
  EXPECT_EQ(view.current, "There is no Knob oper");
  EXPECT_EQ(view.scale, "0");
  EXPECT_EQ(view.lamps[kLampCursor], kLit);
  EXPECT_EQ(view.lamps[kLampRef], kUnlit);
  EXPECT_EQ(view.lamps[kLampRunStop], kStopped);
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

  const size_t requests = link.writes().size();
  auto_refresh = true;
  panel.PrepareOpening();
  EXPECT_FALSE(panel.Open());
  EXPECT_EQ(link.writes().size(), requests);
  EXPECT_TRUE(Operations().empty());
}

TEST_F(PanelTest, KnobStepsAreCountedShownAndSentInOneGo) {
  OpenPanel(false);
  panel.KnobDone();  // nothing pending: nothing sent, nothing recorded
  EXPECT_TRUE(Writes().empty());
  EXPECT_TRUE(Operations().empty());
  EXPECT_TRUE(view.current.empty());

  Steps(kKnobSdiv, 3);
  EXPECT_EQ(view.current, "S/div knob");
  EXPECT_EQ(view.scale, "  3");
  EXPECT_TRUE(Writes().empty());
  KnobDone();
  EXPECT_EQ(view.current, "There is no Knob oper");
  EXPECT_EQ(view.scale, "0");

  Steps(kKnobLevel, -5);
  EXPECT_EQ(view.scale, "  -5");
  KnobDone();

  // Another knob drops the pending steps.
  Steps(kKnobCh1Vdiv, 2);
  panel.StepKnob(kKnobLevel, 1);
  EXPECT_EQ(view.scale, "   1");
  KnobDone();
  EXPECT_EQ(KeySends(), (Sends{{47, 3}, {113, 5}, {111, 1}}));
  EXPECT_EQ(Operations(),
            (Strings{"S/div knob oper", "Simulant Pane Oper is Complete", "Level knob oper",
                     "Simulant Pane Oper is Complete", "CH1 V/div knob oper", "Level knob oper",
                     "Simulant Pane Oper is Complete"}));
  EXPECT_EQ(Waits(), (std::vector<int>{100, 100, 100}));
  EXPECT_FALSE(ui.wait_cursor);
}

TEST_F(PanelTest, MoreStepsThanOneByteHoldsSendTheLargestCount) {
  OpenPanel(false);
  Steps(kKnobSdiv, 255);
  KnobDone();
  Steps(kKnobSdiv, 256);  // the low 8 bits alone would send no step at all
  KnobDone();
  Steps(kKnobCh2VerPosition, -300);
  KnobDone();
  EXPECT_EQ(KeySends(), (Sends{{47, 255}, {47, 255}, {161, 255}}));
  EXPECT_EQ(panel.step_count(), 0);
}

TEST_F(PanelTest, KeyAndKnobPressesDropPendingStepsAndSendTheirCodeOnce) {
  OpenPanel(false);
  Steps(kKnobUniversal, 4);
  AnswerKey();
  panel.PressKey(kKeyMeasure);
  EXPECT_EQ(view.current, "There is no Knob oper");
  panel.KnobDone();
  Steps(kKnobSdiv, 2);
  AnswerKey();
  panel.PressKnob(kKeyCh2VdivPress);
  EXPECT_EQ(view.current, "CH2 V/div knob");
  EXPECT_EQ(view.scale, "0");
  panel.KnobDone();
  EXPECT_EQ(KeySends(), (Sends{{5, 1}, {12, 1}}));
  EXPECT_EQ(Operations(), (Strings{"Universal knob oper", "MEASURE click down", "S/div knob oper",
                                   "CH2 V/div knob click down", "Simulant Pane Oper is Complete"}));
}

TEST_F(PanelTest, FailedSendsShowTheirBoxSkipTheLampsAndStillDropTheSteps) {
  OpenPanel(false);
  AnswerKey(1);
  panel.PressKey(kKeySingle);
  EXPECT_EQ(Writes().size(), 1u);
  EXPECT_EQ(ui.messages.at(0).text, "The Simulant Pane oper failed!");
  EXPECT_TRUE(view.lamps.empty());
  EXPECT_EQ(device.busy_indicator().position(), 0);
  EXPECT_FALSE(ui.wait_cursor);

  Steps(kKnobCh1VerPosition, 7);
  AnswerKey(1);
  panel.KnobDone();
  EXPECT_EQ(KeySends().back(), (std::pair<int, int>{143, 7}));
  EXPECT_EQ(view.current, "There is no Knob oper");
  EXPECT_EQ(Operations().back(), "Simulant Pane Oper is Complete");

  // The link is lost: nothing is written at all.
  link.SetDeviceChangeNotifier(
      [this](uintptr_t wparam, intptr_t lparam) { connection().OnDeviceChange(wparam, lparam); });
  link.Unplug();
  panel.PressKey(kKeySingle);
  EXPECT_EQ(Writes().size(), 2u);
  EXPECT_EQ(ui.messages.back().text, "The software is not link with device!");
}

}  // namespace
}  // namespace korvelane
