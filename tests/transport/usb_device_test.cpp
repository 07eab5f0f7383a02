// The device layer over the libusb link, with the simulated instrument behind the emulated USB
// device: every exchange goes through libusb and the kernel's usbfs requests.
#include <mutex>
#include <string>
#include <vector>

#include "core/protocol/device.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"
#include "support/fake_user_interface.h"
#include "usb_world.h"

namespace korvelane::testing {
namespace {

using Strings = std::vector<std::string>;

class RecordingHooks : public DeviceHooks {
 public:
  void StopRefreshTimer() override { calls.push_back("timer:stop"); }
  void SetAutoButtonEnabled(bool on) override { calls.push_back(on ? "auto:on" : "auto:off"); }
  Strings calls;
};

class KeptBitmap : public BitmapTarget {
 public:
  void LoadBitmapFile(const std::string& path) override { loaded.push_back(ReadFileBytes(path)); }
  void SetTitle(const std::string&) override {}
  std::vector<std::vector<unsigned char>> loaded;
};

// The simulated instrument answers every request that reaches the emulated device's bulk OUT
// endpoint, its answer cut into writes of the sizes Cut() last gave (and the rest).
class InstrumentOnUsb : protected UsbWorld {
 protected:
  InstrumentOnUsb() {
    usb.SetOutHandler([this](const Bytes& request) {
      const Bytes answer = instrument.Exchange(request.data(), request.size());
      std::lock_guard<std::mutex> lock(cut_mutex_);
      usb.SendInPieces(answer, cut_);
    });
  }
  ~InstrumentOnUsb() { usb.SetOutHandler(nullptr); }
  void Cut(std::vector<size_t> pieces) {
    std::lock_guard<std::mutex> lock(cut_mutex_);
    cut_ = std::move(pieces);
  }
  sim::SimulatedInstrument instrument{{0, 7}};

 private:
  std::mutex cut_mutex_;
  std::vector<size_t> cut_;
};

class UsbDeviceTest : public ::testing::Test, protected InstrumentOnUsb {
 protected:
  // Hands the next notification `wparam` to the connection, as the main window does.
  bool DeliverToConnection(uintptr_t wparam, size_t count = 1) {
    if (!heard.WaitFor(wparam, count, kEventWaitMs))
      return false;
    device.connection().OnDeviceChange(wparam, 0);
    return true;
  }

  FakeUserInterface ui;
  OperateLog operate_log{dir.path(), clock, debug_log, ui};
  RecordingHooks hooks;
  Device device{*link, ui, debug_log, operate_log, hooks, clock};
};

TEST_F(UsbDeviceTest, BindAndParameterFetchPutTheExactRequestsOnTheBulkOutEndpoint) {
  ASSERT_TRUE(usb.Plug());
  device.connection().StartupLinkTest();
  ASSERT_TRUE(device.connection().link_ok());
  device.connection().Connect();
  ASSERT_TRUE(device.connection().bound());
  EXPECT_EQ(ui.panes[3], "Dentrallo: NRG-200, 200 MHz, 1 GSa/s");
  ASSERT_EQ(device.acquisition().FetchFromDevice(kFetchParams), 1);

  const Bytes bind = {0x44, 0x53, 0x4F, 0x50, 0x50, 0x56, 0x32, 0x30, 0x00, 0x00,
                      0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  const Bytes params = {0x44, 0x53, 0x4F, 0x50, 0x50, 0x56, 0x32, 0x30, 0x00, 0x00,
                        0x00, 0x04, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(usb.out_transfers(), (std::vector<Bytes>{bind, params}));
  EXPECT_EQ(instrument.exchange_count(), 2u);
  EXPECT_NE(device.store().acq_status, 255) << "the parameter record reached the store";
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(UsbDeviceTest, UnplugWhileBoundTurnsBothLampsRedAndPlugInNeedsANewBind) {
  ASSERT_TRUE(usb.Plug());
  device.connection().StartupLinkTest();
  device.connection().Connect();
  ASSERT_TRUE(device.connection().bound());
  const uint64_t exchanges = instrument.exchange_count();

  usb.Unplug();
  instrument.Unplug();
  ASSERT_TRUE(DeliverToConnection(kDeviceRemoveComplete));
  EXPECT_FALSE(device.connection().link_ok());
  EXPECT_FALSE(device.connection().bound());
  EXPECT_EQ(hooks.calls, (Strings{"timer:stop", "auto:on"}));
  EXPECT_GT(ui.lamp_refreshes, 0);
  EXPECT_EQ(ui.panes[3], "There is a device changing !");
  EXPECT_TRUE(Logged("NORMAL :当前应用程序检测到USB设备的拔插动作"));

  // Later exchanges fail: refused by the device layer, and by the link itself.
  EXPECT_EQ(device.acquisition().FetchFromDevice(kFetchParams), 0);
  const Bytes request = RequestBytes(BuildParamsRequest);
  EXPECT_EQ(link->UsbWrite(kPipeOut, request.data(), 20), 0);
  EXPECT_EQ(instrument.exchange_count(), exchanges);

  instrument.Plug();
  ASSERT_TRUE(usb.Plug());
  ASSERT_TRUE(DeliverToConnection(kDeviceArrival));
  EXPECT_TRUE(device.connection().link_ok());
  EXPECT_FALSE(device.connection().bound());
  EXPECT_EQ(hooks.calls.size(), 2u);
  device.connection().Connect();
  EXPECT_TRUE(device.connection().bound());
  ASSERT_EQ(device.acquisition().FetchFromDevice(kFetchParams), 1);
}

// The whole stack through libusb ends where the in-process path does.
class UsbWholeStackTest : public ::testing::Test, protected InstrumentOnUsb {};

TEST_F(UsbWholeStackTest, FullRefreshAndScreenBitmapMatchTheInProcessInstrument) {
  FakeUserInterface ui;
  OperateLog operate_log{dir.path(), clock, debug_log, ui};
  DeviceHooks hooks;
  Device device(*link, ui, debug_log, operate_log, hooks, clock);

  sim::SimulatedInstrument twin({0, 7});
  sim::SimulatedLink twin_link(twin);
  TempDir twin_dir;
  FakeUserInterface twin_ui;
  DebugLog twin_debug_log(twin_dir.path(), clock);
  OperateLog twin_operate_log(twin_dir.path(), clock, twin_debug_log, twin_ui);
  Device reference(twin_link, twin_ui, twin_debug_log, twin_operate_log, hooks, clock);

  ASSERT_TRUE(usb.Plug());
  for (Device* d : {&device, &reference}) {
    d->connection().StartupLinkTest();
    d->connection().Connect();
    ASSERT_TRUE(d->connection().bound());
  }
  // Whole answers, then answers in pieces.
  for (const std::vector<size_t>& pieces : {std::vector<size_t>{}, {16, 1000, 333}}) {
    Cut(pieces);
    ASSERT_EQ(device.acquisition().RefreshAll(), 1);
    ASSERT_EQ(reference.acquisition().RefreshAll(), 1);
    const AcquisitionStore& got = device.store();
    const AcquisitionStore& want = reference.store();
    EXPECT_TRUE(got.ch1.enabled || got.ch2.enabled);
    for (int channel : {1, 2}) {
      SCOPED_TRACE(channel);
      EXPECT_EQ(got.channel(channel).enabled, want.channel(channel).enabled);
      EXPECT_EQ(got.channel(channel).count, want.channel(channel).count);
      EXPECT_EQ(got.channel(channel).samples, want.channel(channel).samples);
      EXPECT_EQ(got.channel(channel).volts_text, want.channel(channel).volts_text);
    }
    EXPECT_EQ(got.sec_div_text, want.sec_div_text);
    EXPECT_EQ(got.panel_state, want.panel_state);
  }

  KeptBitmap bitmap;
  KeptBitmap twin_bitmap;
  Cut({16});
  ASSERT_TRUE(device.bitmap_transfer().FetchScreenBitmap(dir.path(), bitmap));
  ASSERT_TRUE(reference.bitmap_transfer().FetchScreenBitmap(twin_dir.path(), twin_bitmap));
  ASSERT_EQ(bitmap.loaded.size(), 1u);
  EXPECT_EQ(bitmap.loaded[0], instrument.ScreenBitmap());
  EXPECT_EQ(bitmap.loaded, twin_bitmap.loaded);
  EXPECT_EQ(instrument.exchange_count(), twin.exchange_count());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(usb.unknown_requests().empty());
}

}  // namespace
}  // namespace korvelane::testing
