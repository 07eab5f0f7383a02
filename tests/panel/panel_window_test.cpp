// SPDX-License-Identifier: GPL-3.0-or-later
// The "Virtual Pane" opened from the main window over the simulated instrument: its clicks reach
// the panel's logic and, through it, the instrument. The panel's rules are the core's.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "app/app_test_support.h"
#include "core/shell/command_ids.h"
#include "panel/lamp_button.h"
#include "panel/simulant_ui_dlg.h"
#include "panes/right_pane.h"
#include "views/wave_graph_view.h"

namespace korvelane {
namespace {

TEST(LampButton, ColoursCarryRedInTheLowByte) {
  EXPECT_EQ(LampButton::ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(LampButton::ToQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(LampButton::FromQColor(QColor(12, 34, 56)), LampRgb(12, 34, 56));
  EXPECT_EQ(LampButton::FromQColor(QColor::fromHsv(120, 255, 255)), kLampGreen);
}

const LampColours kLit{kLampGreen, kLampMagenta};

LampColours Unlit() {
  return {LampButton::FromQColor(QGuiApplication::palette().color(QPalette::Button)), kLampBlack};
}

class PanelWindowTest : public testing::AppTest {
 protected:
  // Runs the command on a bound window; `script` works the panel while it is open.
  void RunPanel(MainWindow& w, const std::function<void(CSimulantUIDlg&)>& script) {
    dialog_script = [&w, script, this](QDialog& dialog) {
      auto& panel = dynamic_cast<CSimulantUIDlg&>(dialog);
      EXPECT_EQ(w.open_panel(), &panel);
      ++runs;
      script(panel);
      return panel.result();
    };
    w.tool_action(kCmdSimulantPane)->trigger();  // the toolbar's "Panel"
  }
  static LampColours Lamp(CSimulantUIDlg& d, int lamp) { return d.lamp_button(lamp)->colours(); }

  int runs = 0;
};

TEST_F(PanelWindowTest, OpensOverTheWaveGraphItsClicksReachTheInstrumentAndCloseEndsIt) {
  MainWindow& w = Open();
  w.menu_action(kCmdConnect)->trigger();
  w.right_pane()->SelectView(kWaveGraphView + 1);
  RunPanel(w, [&](CSimulantUIDlg& d) {
    EXPECT_EQ(w.right_pane()->current_index(), kWaveGraphView);
    EXPECT_FALSE(d.refresh_button()->isHidden());
    EXPECT_EQ(Lamp(d, kLampCh1), kLit);
    EXPECT_TRUE(d.indicator()->value());
    const int time_div = instrument.front_panel().time_div;
    for (int i = 0; i < 3; ++i)
      d.knob_arrow(kKnobSdiv, 1)->click();
    EXPECT_EQ(d.current_knob_label()->text(), QStringLiteral("S/div knob"));
    EXPECT_EQ(d.knob_scale_label()->text(), QStringLiteral("  3"));
    d.knob_done_button()->click();
    EXPECT_EQ(instrument.front_panel().time_div, time_div + 3);

    d.key_button(kKeyCh1)->click();
    EXPECT_EQ(Lamp(d, kLampCh1), Unlit());
    d.key_button(kKeyRunStop)->click();
    EXPECT_EQ(Lamp(d, kLampRunStop), (LampColours{kLampRed, kLampWhite}));
    d.knob_press_button(kKeyCh2VdivPress)->click();
    EXPECT_EQ(d.current_knob_label()->text(), QStringLiteral("CH2 V/div knob"));
    const uint64_t before_refresh = instrument.exchange_count();
    d.refresh_button()->click();
    EXPECT_GT(instrument.exchange_count(), before_refresh);
    d.close_button()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
  });
  EXPECT_EQ(w.open_panel(), nullptr);

  // With the refresh timer running the panel offers no Refresh of its own.
  w.wave_graph_view()->button(WaveGraphView::Button::kAuto)->click();
  RunPanel(w, [](CSimulantUIDlg& d) { EXPECT_TRUE(d.refresh_button()->isHidden()); });
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace korvelane
