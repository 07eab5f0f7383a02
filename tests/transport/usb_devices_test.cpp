// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the machine's USB devices, by the program and by `korvelane --list-devices`, on the
// emulated bus.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_dir.h"
#include "transport/usb_devices.h"
#include "usb_world.h"

namespace korvelane::testing {
namespace {

TEST(UsbDevices, AllAreListedWithTheirCapabilitiesAndOnlyInstrumentLikeOnesAreCandidates) {
  UsbBus bus;
  UsbDeviceSetup held = OtherDevice(0x04b4, 0x0d50, 4);
  held.held_elsewhere = true;  // another program has claimed it
  EmulatedUsbDevice busy(held, &bus.instrument);
  ASSERT_TRUE(bus.PlugAll() && busy.Plug());
  const std::string denied = bus.storage.devnode();
  const auto devices =
      transport::LibUsbLink::ListDevices([&](const std::string& node) { return node != denied; });
  const std::string lines[] = {
      "f055:0d50  bus 001 address 002  \"Dentrallo\" \"NRK-25\"  class ff, bulk IN/OUT pair, "
      "may open",
      "1d6b:0002  bus 001 address 022  \"Dentrallo\" \"NRK-25\"  class ff, no bulk IN/OUT pair, "
      "may open",
      "0781:5567  bus 001 address 042  \"SanDisk\" \"Cruzer Blade\"  storage, bulk IN/OUT pair, "
      "no access: permission",
      "04b4:0d50  bus 001 address 062  \"Dentrallo\" \"NRK-25\"  class ff, bulk IN/OUT pair, "
      "no access: busy"};
  ASSERT_EQ(devices.size(), std::size(lines));
  for (size_t i = 0; i < devices.size(); ++i)
    EXPECT_EQ(transport::FormatDeviceLine(devices[i]), lines[i]);
  EXPECT_EQ(transport::InstrumentCandidates(devices),
            (std::vector<UsbIds>{{0xf055, 0x0d50}, {0x04b4, 0x0d50}}));

  // Listing opened nothing and sent nothing.
  EXPECT_FALSE(bus.instrument.interface_claimed());
  EXPECT_TRUE(bus.instrument.out_transfers().empty());
  EXPECT_EQ(bus.instrument.in_submits(), 0);
}

#ifdef KORVELANE_PATH
// The program runs on the same emulated bus: it inherits the preload and the testbed.
TEST(UsbDevices, ListDevicesPrintsOneLineEachAndExitsZero) {
  UsbBus bus;
  ASSERT_TRUE(bus.PlugAll());
  TempDir dir;
  const int status = std::system((KORVELANE_PATH " --list-devices >" + dir.File("out")).c_str());
  const std::string output = ReadFileText(dir.File("out"));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 3) << output;
  for (const char* line : {"f055:0d50  bus 001 address 002", "1d6b:0002  bus 001 address 022",
                           "0781:5567  bus 001 address 042"})
    EXPECT_NE(output.find(line), std::string::npos) << output;
}
#endif

}  // namespace
}  // namespace korvelane::testing
