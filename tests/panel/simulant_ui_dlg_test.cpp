#include "panel/simulant_ui_dlg.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
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
        PanelContext{device, ui, operate_log, [this] { return auto_refresh; }}, nullptr,
        [this](const std::function<void()>& action) {
          ++actions;
          action();
        });
    dialog->layout()->activate();
    return *dialog;
  }
  LampColours Lamp(int lamp) const { return dialog->lamp_button(lamp)->colours(); }
  // Where a control lies in the dialog.
  QRect Place(QWidget* widget) const {
    return QRect(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
  }
  QRect Place(const char* accessible_name) const {
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      if (w->accessibleName() == QLatin1String(accessible_name))
        return Place(w);
    }
    ADD_FAILURE() << accessible_name;
    return {};
  }

  bool auto_refresh = false;
  int actions = 0;
  std::unique_ptr<CSimulantUIDlg> dialog;
};

const LampColours kLit{kLampGreen, kLampMagenta};

LampColours Unlit() {
  return {LampButton::FromQColor(QGuiApplication::palette().color(QPalette::Button)), kLampBlack};
}

TEST_F(PanelDialogTest, EveryKeyKnobAndLampIsThereWithItsCaption) {
  CSimulantUIDlg& d = OpenDialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Virtual Pane"));
  EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(d.layout()->sizeConstraint(), QLayout::SetFixedSize);
  for (const PanelKeyEntry& key : kPanelKeys) {
    QAbstractButton* button = d.key_button(key.code);
    ASSERT_NE(button, nullptr) << key.caption;
    EXPECT_EQ(button->text(), QString::fromUtf8(key.caption));
    EXPECT_EQ(button->accessibleName(), QString::fromUtf8(key.caption));
    EXPECT_EQ(key.lamp != kNoLamp, qobject_cast<LampButton*>(button) != nullptr) << key.caption;
  }
  for (const PanelKnobEntry& knob : kPanelKnobs) {
    for (int direction : {-1, 1})
      EXPECT_NE(d.knob_arrow(knob.knob, direction), nullptr) << knob.name;
  }
  // The three knob-press buttons wear one icon.
  const QImage icon = d.knob_press_button(kKeySdivPress)->icon().pixmap(18).toImage();
  EXPECT_FALSE(icon.isNull());
  for (const KnobPressEntry& press : kKnobPresses)
    EXPECT_EQ(d.knob_press_button(press.code)->icon().pixmap(18).toImage(), icon);
  EXPECT_EQ(d.indicator()->kind(), LampButton::Kind::kIndicator);
  EXPECT_EQ(d.current_knob_label()->text(), QStringLiteral("There is no Knob oper"));
  EXPECT_EQ(d.knob_scale_label()->text(), QStringLiteral("0"));
  QStringList captions;
  for (QLabel* label : d.findChildren<QLabel*>())
    captions << label->text();
  EXPECT_TRUE(captions.contains(QStringLiteral("Current Knob:")));
  EXPECT_TRUE(captions.contains(QStringLiteral("Knob Scale：")));
  // Every control can be found by a screen reader.
  for (QWidget* w : d.findChildren<QWidget*>()) {
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) ||
        qobject_cast<QGroupBox*>(w)) {
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
    }
  }
}

TEST_F(PanelDialogTest, TheControlsStandWhereTheInstrumentHasThem) {
  CSimulantUIDlg& d = OpenDialog();
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  const QRect horizontal = Place("HORIZONTAL");
  const QRect run_control = Place("RUN CONTROL");
  const QRect menu = Place("Menu keys");
  const QRect vertical = Place("VERTICAL");
  const QRect trigger = Place("TRIGGER");
  const QRect status = Place("Knob status");
  EXPECT_LT(horizontal.right(), run_control.left());
  EXPECT_TRUE(horizontal.contains(Place(d.knob_arrow(kKnobSdiv, 1))));
  EXPECT_TRUE(horizontal.contains(Place(d.key_button(kKeyHoriMenu))));
  EXPECT_TRUE(run_control.contains(Place(d.key_button(kKeyRunStop))));
  // The top row, CURSOR leftmost and AUTO rightmost, under the two groups.
  int left = -1;
  for (uint8_t code :
       {kKeyCursor, kKeyMeasure, kKeyAcquire, kKeyDisplay, kKeyDefaultSetup, kKeyAuto}) {
    const QRect key = Place(d.key_button(code));
    EXPECT_GT(key.left(), left) << int{code};
    EXPECT_GT(key.top(), horizontal.bottom());
    EXPECT_LT(key.bottom(), vertical.top());
    left = key.left();
  }
  // Menu keys, VERTICAL, then SAVE with its lamp, UTILITY, Universal and TRIGGER below.
  EXPECT_LT(menu.right(), vertical.left());
  EXPECT_LT(Place(d.key_button(kKeyMb1)).top(), Place(d.key_button(kKeyMb5)).top());
  const QRect save = Place(d.key_button(kKeySave));
  EXPECT_LT(vertical.right(), save.left());
  EXPECT_LT(save.right(), Place(d.indicator()).left());
  EXPECT_LT(save.bottom(), Place(d.key_button(kKeyUtility)).top());
  EXPECT_LT(Place(d.key_button(kKeyUtility)).bottom(),
            Place(d.knob_arrow(kKnobUniversal, 1)).top());
  EXPECT_LT(Place(d.knob_arrow(kKnobUniversal, 1)).bottom(), trigger.top());
  EXPECT_TRUE(trigger.contains(Place(d.knob_arrow(kKnobLevel, -1))));
  // Inside VERTICAL: CH1 left, MATH centre with REF below it, CH2 right.
  const QRect ch1 = Place(d.key_button(kKeyCh1));
  const QRect math = Place(d.key_button(kKeyMath));
  const QRect ch2 = Place(d.key_button(kKeyCh2));
  EXPECT_TRUE(ch1.right() < math.left() && math.right() < ch2.left());
  EXPECT_GT(Place(d.key_button(kKeyRef)).top(), math.bottom());
  EXPECT_LT(Place(d.knob_arrow(kKnobCh1Vdiv, 1)).bottom(),
            Place(d.knob_press_button(kKeyCh1VdivPress)).top());
  EXPECT_GT(Place(d.knob_arrow(kKnobCh1VerPosition, 1)).top(), ch1.bottom());
  // The knob status at the bottom; "Refresh" above "Close" at the right.
  EXPECT_GT(status.top(), trigger.bottom());
  EXPECT_TRUE(status.contains(Place(d.knob_done_button())));
  EXPECT_LT(Place(d.refresh_button()).bottom(), Place(d.close_button()).top());
  EXPECT_GT(Place(d.close_button()).left(), status.right());
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

TEST_F(PanelDialogTest, TheInstrumentAnswersEveryKeyAndKnob) {
  CSimulantUIDlg& d = OpenDialog(true);
  for (const PanelKeyEntry& key : kPanelKeys)
    d.key_button(key.code)->click();
  for (const KnobPressEntry& press : kKnobPresses)
    d.knob_press_button(press.code)->click();
  for (const PanelKnobEntry& knob : kPanelKnobs) {
    for (int direction : {1, -1}) {
      d.knob_arrow(knob.knob, direction)->click();
      d.knob_done_button()->click();
    }
  }
  EXPECT_TRUE(ui.messages.empty());
  // The Bind, then one exchange for each.
  EXPECT_EQ(instrument.exchange_count(),
            1u + kPanelKeyCount + kKnobPressCount + 2u * kPanelKnobCount);
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
