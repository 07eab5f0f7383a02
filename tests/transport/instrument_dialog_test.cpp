// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the instrument in the main window ("Setting" > "Instrument..."), with the USB devices
// of the emulated bus.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_test_support.h"
#include "app/instrument_access.h"
#include "app/instrument_dialog.h"
#include "app/lamp_indicator.h"
#include "core/shell/command_ids.h"
#include "transport/switchable_link.h"
#include "usb_world.h"

namespace korvelane::testing {
namespace {

class InstrumentTest : public AppTest {
 protected:
  InstrumentTest() {
    context.link = &switchable;
    context.instruments = &access;
    access.list_usb = [this] {
      return transport::LibUsbLink::ListDevices(
          [this](const std::string& node) { return node != denied_node; });
    };
    access.watch_usb = [](std::function<void()> changed) -> std::unique_ptr<UsbPlugWatch> {
      struct Watch : UsbPlugWatch {
        explicit Watch(std::function<void()> changed) : watch(std::move(changed)) {}
        transport::UsbBusWatch watch;
      };
      return std::make_unique<Watch>(std::move(changed));
    };
    access.use = [this](const DeviceChoice& choice) {
      switchable.Replace(std::make_unique<transport::LibUsbLink>(
          choice.has_ids ? std::optional<UsbIds>(choice.ids()) : std::nullopt, debug_log,
          QuickUsbOptions()));
    };
  }
  ~InstrumentTest() override {
    window.reset();
    switchable.Replace(nullptr);  // libusb goes before the emulated bus
  }

  // The first words of the entries that can be chosen.
  static QStringList Offered(InstrumentDialog& dialog) {
    QStringList offered;
    for (int i = 0; i < dialog.list()->count(); ++i) {
      const QListWidgetItem* item = dialog.list()->item(i);
      if (item->flags() & Qt::ItemIsEnabled)
        offered << item->text().section(QStringLiteral("  "), 0, 0);
    }
    return offered;
  }

  static QListWidgetItem* Entry(InstrumentDialog& dialog, const QString& start) {
    return dialog.list()->findItems(start, Qt::MatchStartsWith).value(0);
  }

  UsbBus bus;
  transport::SwitchableLink switchable;
  InstrumentAccess access;
  std::string denied_node;
};

// Start-up offers the one instrument found and opens nothing until the user confirms it in the
// dialog, which follows plug events and gives the udev rule for a device this user may not open.
TEST_F(InstrumentTest, TheFoundInstrumentOpensOnlyOnceChosenAndIsStored) {
  ASSERT_TRUE(bus.PlugAll());
  bus.instrument.SetOutHandler([this](const Bytes&) {
    bus.instrument.SendInPieces(MakeMessage(OP_BIND, Body(4, {0, 2})), {});
  });
  EmulatedUsbDevice late(OtherDevice(0x04b4, 0x0d50, 4), &bus.instrument);
  QStringList offered;
  QString rule;
  QString copied;
  bool claimed_before = true;
  dialog_script = [&](QDialog& d) {
    auto& dialog = dynamic_cast<InstrumentDialog&>(d);
    offered = Offered(dialog);
    EXPECT_TRUE(dialog.list()->currentItem()->text().startsWith("f055:0d50"));
    EXPECT_FALSE(dialog.rule_text()->isVisibleTo(&dialog));
    claimed_before = bus.instrument.interface_claimed();

    EXPECT_TRUE(late.Plug());
    denied_node = late.devnode();
    WaitUntil([&] {
      QApplication::processEvents();
      return Entry(dialog, "04b4:0d50");
    });
    offered += Offered(dialog);
    EXPECT_TRUE(dialog.list()->currentItem()->text().startsWith("f055:0d50"));
    dialog.list()->setCurrentItem(Entry(dialog, "04b4:0d50"));
    rule = dialog.rule_text()->toPlainText();
    EXPECT_TRUE(dialog.copy_button()->isVisibleTo(&dialog));
    dialog.copy_button()->click();
    copied = QApplication::clipboard()->text();

    dialog.list()->setCurrentItem(Entry(dialog, "f055:0d50"));
    dialog.accept();
    return dialog.result();
  };
  MainWindow& w = Open();
  EXPECT_FALSE(w.lamps()->link_ok());
  EXPECT_EQ(w.user_interface().pane0_text().toStdString(),
            "An instrument was found on USB (f055:0d50): confirm it in Setting > Instrument...");
  QApplication::processEvents();
  EXPECT_FALSE(claimed_before);
  EXPECT_EQ(offered, (QStringList{"f055:0d50", "Simulated instrument",
                                  "Instrument on a socket:", "f055:0d50", "04b4:0d50",
                                  "Simulated instrument", "Instrument on a socket:"}));
  EXPECT_EQ(rule.toStdString(),
            "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"04b4\", "
            "ATTR{idProduct}==\"0d50\", TAG+=\"uaccess\"\n\n"
            "echo 'SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"04b4\", "
            "ATTR{idProduct}==\"0d50\", TAG+=\"uaccess\"' | sudo tee -a "
            "/etc/udev/rules.d/60-korvelane.rules\n"
            "sudo udevadm control --reload && sudo udevadm trigger\n");
  EXPECT_EQ(copied, rule);
  EXPECT_TRUE(w.lamps()->link_ok());
  EXPECT_TRUE(bus.instrument.interface_claimed());
  EXPECT_TRUE(bus.instrument.out_transfers().empty());

  w.menu_action(kCmdConnect)->trigger();
  EXPECT_TRUE(w.lamps()->bound());
  EXPECT_EQ(bus.instrument.out_transfers().size(), 1u);

  // While bound another instrument is refused, without a dialog (and so without a new link).
  dialog_script = [](QDialog&) -> int {
    ADD_FAILURE() << "no dialog while bound";
    return QDialog::Rejected;
  };
  w.menu_action(kCmdInstrument)->trigger();
  ASSERT_EQ(presenter.boxes.size(), 1u);
  EXPECT_EQ(presenter.boxes[0].text,
            "The instrument is bound: UnBind it before choosing another instrument.");
  EXPECT_TRUE(w.lamps()->bound());

  CloseWindow();
  EXPECT_EQ(StoredSettings().value("Settings/Device").toString(), "usb:f055:0d50");
}

}  // namespace
}  // namespace korvelane::testing
