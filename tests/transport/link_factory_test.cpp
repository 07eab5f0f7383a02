// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/link_factory.h"

#include <gtest/gtest.h>

#include "transport/libusb_link.h"
#include "transport/socket_link.h"

namespace korvelane::transport {
namespace {

TEST(DeviceChoice, ReadsTheThreeKinds) {
  DeviceChoice choice;
  std::string error;
  ASSERT_TRUE(ParseDeviceChoice("sim", choice, error));
  EXPECT_EQ(choice.kind, DeviceChoice::kSim);
  ASSERT_TRUE(ParseDeviceChoice("socket:/tmp/a b.sock", choice, error));
  EXPECT_EQ(choice.kind, DeviceChoice::kSocket);
  EXPECT_EQ(choice.socket_path, "/tmp/a b.sock");
  ASSERT_TRUE(ParseDeviceChoice("usb", choice, error));
  EXPECT_EQ(choice.kind, DeviceChoice::kUsb);
  EXPECT_FALSE(choice.has_ids);
  ASSERT_TRUE(ParseDeviceChoice("usb:04b4:Ff0A", choice, error));
  EXPECT_TRUE(choice.has_ids);
  EXPECT_EQ(choice.vendor_id, 0x04b4);
  EXPECT_EQ(choice.product_id, 0xff0a);
  EXPECT_EQ(FormatDeviceChoice(choice), "usb:04b4:ff0a");  // as stored
  ASSERT_TRUE(ParseDeviceChoice("usb:4b4:a", choice, error));
  EXPECT_EQ(FormatDeviceChoice(choice), "usb:04b4:000a");
  const std::string too_long = "socket:/" + std::string(107, 'x');
  EXPECT_TRUE(ParseDeviceChoice(too_long.substr(0, too_long.size() - 1), choice, error));
  for (const std::string& bad : {std::string(), std::string("SIM"), std::string("socket:"),
                                 std::string("usb:12345:1"), std::string("usb:1:2:3"), too_long}) {
    EXPECT_FALSE(ParseDeviceChoice(bad, choice, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
}

TEST(DeviceChoice, UsbWithoutIdsTakesTheBuildTimeIds) {
  DeviceChoice choice;
  std::string error;
  ASSERT_TRUE(ParseDeviceChoice("usb", choice, error));
  EXPECT_TRUE(ApplyDefaultUsbIds(choice, ""));
  EXPECT_FALSE(choice.has_ids);
  EXPECT_TRUE(ApplyDefaultUsbIds(choice, "4b4:fF0a"));
  EXPECT_TRUE(choice.has_ids);
  EXPECT_EQ(choice.vendor_id, 0x04b4);
  EXPECT_EQ(choice.product_id, 0xff0a);
  // Ids on the command line win; ids that are no ids are refused.
  ASSERT_TRUE(ParseDeviceChoice("usb:1:2", choice, error));
  EXPECT_TRUE(ApplyDefaultUsbIds(choice, "4b4:ff0a"));
  EXPECT_EQ(choice.vendor_id, 1);
  EXPECT_EQ(choice.product_id, 2);
  EXPECT_FALSE(ApplyDefaultUsbIds(choice, "4b4"));
  EXPECT_FALSE(ApplyDefaultUsbIds(choice, "usb:1:2"));
}

TEST(MakeLink, UsbWithoutIdsSaysHowToNameTheInstrumentAndSocketTakesThePath) {
  std::string note;
  DeviceChoice choice;
  choice.kind = DeviceChoice::kUsb;
  std::unique_ptr<UsbLink> usb = MakeLink(choice, note);
  auto* usb_link = dynamic_cast<LibUsbLink*>(usb.get());
  ASSERT_NE(usb_link, nullptr);
  EXPECT_EQ(usb_link->ids().has_value(), !BuildTimeUsbIds().empty());
  if (BuildTimeUsbIds().empty()) {
    EXPECT_NE(note.find("--device usb:VID:PID"), std::string::npos);
  }

  choice.kind = DeviceChoice::kSocket;
  choice.socket_path = "/nonexistent/dso.sock";
  std::unique_ptr<UsbLink> socket = MakeLink(choice, note);
  auto* socket_link = dynamic_cast<SocketLink*>(socket.get());
  ASSERT_NE(socket_link, nullptr);
  EXPECT_EQ(socket_link->path(), "/nonexistent/dso.sock");
}

}  // namespace
}  // namespace korvelane::transport
