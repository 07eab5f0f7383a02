// The "Simulant Pane" command of the main window, over the simulated instrument.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "app/app_test_support.h"
#include "core/shell/command_ids.h"
#include "panel/lamp_button.h"
#include "panel/simulant_ui_dlg.h"
#include "panes/right_pane.h"
#include "views/wave_graph_view.h"

namespace korvelane {
namespace {

const LampColours kLit{kLampGreen, kLampMagenta};

class PanelCommandTest : public testing::AppTest {
 protected:
  MainWindow& OpenBound() {
    MainWindow& w = Open();
    w.RunCommand(kCmdConnect);
    EXPECT_TRUE(w.device().connection().bound());
    return w;
  }
  // Runs the command; `script` works the panel while it is open.
  void RunPanel(MainWindow& w, const std::function<void(CSimulantUIDlg&)>& script) {
    dialog_script = [&w, script, this](QDialog& dialog) {
      auto* panel = qobject_cast<CSimulantUIDlg*>(&dialog);
      EXPECT_NE(panel, nullptr);
      if (!panel)
        return static_cast<int>(QDialog::Rejected);
      EXPECT_EQ(w.open_panel(), panel);
      ++runs;
      script(*panel);
      return static_cast<int>(QDialog::Accepted);
    };
    w.RunCommand(kCmdSimulantPane);
  }
  static bool Ch1Lit(CSimulantUIDlg& panel) {
    return panel.lamp_button(kLampCh1)->colours() == kLit;
  }

  int runs = 0;
};

TEST_F(PanelCommandTest, OpensOverTheWaveGraphAndForgetsThePanelWhenClosed) {
  MainWindow& w = OpenBound();
  w.right_pane()->SelectView(kWaveGraphView + 1);
  RunPanel(w, [&](CSimulantUIDlg& panel) {
    EXPECT_EQ(w.right_pane()->current_index(), kWaveGraphView);
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Virtual Pane"));
    EXPECT_FALSE(panel.refresh_button()->isHidden());
  });
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(w.open_panel(), nullptr);
  EXPECT_EQ(w.user_interface().pane0_text(), QStringLiteral("Show the Simulant Pane"));
}

TEST_F(PanelCommandTest, Ch1TwiceDarkensAndRelightsItsLampAndTheGraphFollows) {
  MainWindow& w = OpenBound();
  w.RefreshTick();
  ASSERT_TRUE(w.wave_graph_view()->show_box(1)->isEnabled());
  RunPanel(w, [&](CSimulantUIDlg& panel) {
    ASSERT_TRUE(Ch1Lit(panel));
    panel.key_button(kKeyCh1)->click();
    EXPECT_FALSE(Ch1Lit(panel));
    // The timer's refresh runs while the panel is open and shows CH1 off.
    w.RefreshTick();
    EXPECT_FALSE(w.wave_graph_view()->show_box(1)->isEnabled());
    EXPECT_EQ(w.view_tables().wave_slots[1].in_graph, 0);
    panel.key_button(kKeyCh1)->click();
    EXPECT_TRUE(Ch1Lit(panel));
  });
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(PanelCommandTest, WithAutomaticRefreshTheTimerRedrawsTheLamps) {
  MainWindow& w = OpenBound();
  w.StartRefreshTimer();
  w.RefreshTick();
  RunPanel(w, [&](CSimulantUIDlg& panel) {
    EXPECT_TRUE(panel.refresh_button()->isHidden());
    panel.key_button(kKeyRunStop)->click();
    // The key redraws from the last refresh; the next tick brings the stopped lamp.
    EXPECT_EQ(panel.lamp_button(kLampRunStop)->colours(), kLit);
    w.RefreshTick();
    EXPECT_EQ(panel.lamp_button(kLampRunStop)->colours(), (LampColours{kLampRed, kLampWhite}));
    panel.key_button(kKeyRunStop)->click();
    w.RefreshTick();
    EXPECT_EQ(panel.lamp_button(kLampRunStop)->colours(), kLit);
  });
  // Once the panel is closed the ticks reach no panel.
  w.RefreshTick();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(presenter.boxes.empty());
}

}  // namespace
}  // namespace korvelane
