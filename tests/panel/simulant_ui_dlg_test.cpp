// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/simulant_ui_dlg.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "core/protocol/device_world.h"
#include "panel/lamp_button.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"

namespace korvelane {
namespace {

struct Instrument {
  sim::SimulatedInstrument instrument;
};

// The panel window over the simulated instrument.
class PanelDialogTest : protected Instrument, public testing::DeviceWorld<sim::SimulatedLink> {
 protected:
  PanelDialogTest() : DeviceWorld(instrument) {
    connection().StartupLinkTest();
    connection().Connect();
  }
  CSimulantUIDlg& OpenDialog(bool automatic = false) {
    auto_refresh = automatic;
    dialog = std::make_unique<CSimulantUIDlg>(
        PanelContext{device.store(), device.connection(), device.acquisition(),
                     device.busy_indicator(), ui, operate_log, [this] { return auto_refresh; }},
        nullptr, [this](const std::function<void()>& action) {
          ++actions;
          action();
        });
    dialog->layout()->activate();
    return *dialog;
  }
  LampColours Lamp(int lamp) const { return dialog->lamp_button(lamp)->colours(); }

  bool auto_refresh = false;
  int actions = 0;
  std::unique_ptr<CSimulantUIDlg> dialog;
};

const LampColours kLit{kLampGreen, kLampMagenta};

LampColours Unlit() {
  return {LampButton::FromQColor(QGuiApplication::palette().color(QPalette::Button)), kLampBlack};
}

TEST_F(PanelDialogTest, ClicksDriveThePanelAndItsExchangesRunAsActions) {
  CSimulantUIDlg& d = OpenDialog();
  EXPECT_EQ(Lamp(kLampCh1), kLit);
  EXPECT_EQ(Lamp(kLampMath), Unlit());
  EXPECT_TRUE(d.indicator()->value());
  const int time_div = instrument.front_panel().time_div;
  for (int i = 0; i < 3; ++i)
    d.knob_arrow(kKnobSdiv, 1)->click();
  EXPECT_EQ(d.current_knob_label()->text(), QStringLiteral("S/div knob"));
  EXPECT_EQ(d.knob_scale_label()->text(), QStringLiteral("  3"));
  EXPECT_EQ(actions, 0);  // counting steps talks to nobody
  d.knob_done_button()->click();
  EXPECT_EQ(instrument.front_panel().time_div, time_div + 3);
  EXPECT_EQ(d.knob_scale_label()->text(), QStringLiteral("0"));

  d.key_button(kKeyCh1)->click();
  EXPECT_EQ(Lamp(kLampCh1), Unlit());
  d.key_button(kKeyRunStop)->click();
  EXPECT_EQ(Lamp(kLampRunStop), (LampColours{kLampRed, kLampWhite}));
  d.knob_press_button(kKeyCh2VdivPress)->click();
  EXPECT_EQ(d.current_knob_label()->text(), QStringLiteral("CH2 V/div knob"));
  d.refresh_button()->click();
  EXPECT_EQ(actions, 5);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PanelDialogTest, RefreshIsOfferedOnlyWithoutAutomaticRefreshAndCloseEndsTheRun) {
  EXPECT_TRUE(OpenDialog(true).refresh_button()->isHidden());
  CSimulantUIDlg& d = OpenDialog(false);
  EXPECT_FALSE(d.refresh_button()->isHidden());
  d.show();
  d.close_button()->click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace korvelane
