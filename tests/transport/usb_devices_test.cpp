// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the machine's USB devices, by the program and by `korvelane --list-devices`, on the
// emulated bus.
#include <sys/wait.h>

#include <cstdio>

#include "transport/usb_devices.h"
#include "usb_world.h"

namespace korvelane::testing {
namespace {

using transport::UsbDeviceInfo;

const UsbDeviceInfo* Find(const std::vector<UsbDeviceInfo>& devices, uint16_t vendor_id) {
  for (const UsbDeviceInfo& device : devices) {
    if (device.ids.vendor_id == vendor_id)
      return &device;
  }
  return nullptr;
}

TEST(UsbDevices, AllAreListedWithTheirCapabilitiesAndOnlyTheInstrumentLikeOneIsACandidate) {
  UsbBus bus;
  ASSERT_TRUE(bus.PlugAll());
  const std::string denied = bus.storage.devnode();
  const auto devices =
      transport::LibUsbLink::ListDevices([&](const std::string& node) { return node != denied; });
  ASSERT_EQ(devices.size(), 3u);
  const UsbDeviceInfo* instrument = Find(devices, 0xf055);
  const UsbDeviceInfo* hub = Find(devices, 0x1d6b);
  const UsbDeviceInfo* storage = Find(devices, 0x0781);
  ASSERT_TRUE(instrument && hub && storage);

  EXPECT_EQ(transport::FormatDeviceLine(*instrument),
            "f055:0d50  bus 001 address 002  \"Dentrallo\" \"NRK-25\"  class ff, bulk IN/OUT "
            "pair, may open");
  EXPECT_EQ(transport::FormatDeviceLine(*hub),
            "1d6b:0002  bus 001 address 022  \"Linux Foundation\" \"2.0 root hub\"  hub, no bulk "
            "IN/OUT pair, may open");
  EXPECT_EQ(transport::FormatDeviceLine(*storage),
            "0781:5567  bus 001 address 042  \"SanDisk\" \"Cruzer Blade\"  storage, bulk IN/OUT "
            "pair, no access: permission");
  EXPECT_EQ(transport::InstrumentCandidates(devices), std::vector<UsbIds>{instrument->ids});

  // A device another program has claimed is busy.
  UsbDeviceSetup held;
  held.vendor_id = 0x04b4;
  held.port = 4;
  held.held_elsewhere = true;
  EmulatedUsbDevice busy(held, bus.instrument);
  ASSERT_TRUE(busy.Plug());
  const auto with_busy = transport::LibUsbLink::ListDevices();
  ASSERT_EQ(with_busy.size(), 4u);
  EXPECT_EQ(Find(with_busy, 0x04b4)->access, UsbDeviceInfo::Access::kBusy);
  EXPECT_EQ(Find(with_busy, 0xf055)->access, UsbDeviceInfo::Access::kMayOpen);

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
  FILE* pipe = popen(KORVELANE_PATH " --list-devices", "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char chunk[256];
  while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
    output.append(chunk, n);
  const int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 3) << output;
  for (const char* line : {"f055:0d50  bus 001 address 002", "1d6b:0002  bus 001 address 022",
                           "0781:5567  bus 001 address 042"})
    EXPECT_NE(output.find(line), std::string::npos) << output;
  EXPECT_FALSE(bus.instrument.interface_claimed());
}
#endif

}  // namespace
}  // namespace korvelane::testing
