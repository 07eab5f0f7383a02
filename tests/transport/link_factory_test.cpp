// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's choice of instrument and the link made for it.
#include "app/link_factory.h"

#include <gtest/gtest.h>

#include "transport/libusb_link.h"

namespace korvelane {
namespace {

TEST(DeviceChoice, ReadsTheThreeKindsAsStoredAndRefusesTheRest) {
  const std::string longest = "socket:/" + std::string(106, 'x');
  const std::pair<std::string, std::string> good[] = {
      {"sim", "sim"},
      {"socket:/tmp/a b.sock", "socket:/tmp/a b.sock"},
      {"usb", "usb"},
      {longest, longest}};
  std::string error;
  for (const auto& [text, stored] : good) {
    const auto choice = ParseDeviceChoice(text, error);
    ASSERT_TRUE(choice) << text;
    EXPECT_EQ(FormatDeviceChoice(*choice), stored);
  }
  for (const std::string& bad : {std::string(), std::string("SIM"), std::string("socket:"),
                                 std::string("usb:1:2:3"), std::string("usb:1:"), longest + "x"}) {
    EXPECT_FALSE(ParseDeviceChoice(bad, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
}

TEST(DeviceChoice, UsbWithoutIdsTakesTheBuildTimeIdsAndIdsOfItsOwnWin) {
  DeviceChoice choice;
  choice.kind = DeviceChoice::kUsb;
  EXPECT_TRUE(ApplyDefaultUsbIds(choice, ""));
  EXPECT_FALSE(choice.has_ids);
  EXPECT_TRUE(ApplyDefaultUsbIds(choice, "4b4:fF0a"));
  EXPECT_EQ(FormatDeviceChoice(choice), "usb:04b4:ff0a");
  choice.vendor_id = 1;
  EXPECT_TRUE(ApplyDefaultUsbIds(choice, "5:6"));
  EXPECT_EQ(FormatDeviceChoice(choice), "usb:0001:ff0a");
  EXPECT_FALSE(ApplyDefaultUsbIds(choice, "4b4"));
}

// The simulated and socket kinds are what the package and end-to-end tests run on.
TEST(MakeLink, MakesAUsbLinkAndSaysHowToNameTheInstrumentWithoutBuildTimeIds) {
  std::string note;
  DeviceChoice choice;
  std::unique_ptr<UsbLink> usb = MakeLink(choice, note);
  auto* usb_link = dynamic_cast<transport::LibUsbLink*>(usb.get());
  ASSERT_NE(usb_link, nullptr);
  EXPECT_EQ(usb_link->ids().has_value(), !BuildTimeUsbIds().empty());
  EXPECT_EQ(note.find("--device usb:VID:PID") != std::string::npos, BuildTimeUsbIds().empty());
}

}  // namespace
}  // namespace korvelane
