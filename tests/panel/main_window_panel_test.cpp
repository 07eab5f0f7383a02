// SPDX-License-Identifier: GPL-3.0-or-later
// The "Simulant Pane" command of the main window, over the simulated instrument.
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/app_test_support.h"
#include "core/shell/command_ids.h"
#include "panel/lamp_button.h"
#include "panel/simulant_ui_dlg.h"
#include "panes/right_pane.h"
#include "views/wave_graph_view.h"

namespace korvelane {
namespace {

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

}  // namespace
}  // namespace korvelane
