// The device layer end to end against the simulated instrument.
#include <gtest/gtest.h>

#include "core/protocol/panel_codes.h"
#include "device_world.h"
#include "simulator/simulated_instrument.h"
#include "simulator/simulated_link.h"

namespace korvelane {
namespace {

using sim::FaultKind;
using testing::Strings;

struct Instrument {
  explicit Instrument(int8_t product_type) : instrument({product_type, 7}) {}
  sim::SimulatedInstrument instrument;
};

// A Device over a simulated instrument whose plug events reach the connection at once.
class SimDeviceTest : protected Instrument, public testing::DeviceWorld<sim::SimulatedLink> {
 protected:
  explicit SimDeviceTest(int8_t product_type = 0)
      : Instrument(product_type), DeviceWorld(instrument) {
    link.SetDeviceChangeNotifier(
        [this](uintptr_t wparam, intptr_t lparam) { connection().OnDeviceChange(wparam, lparam); });
    connection().StartupLinkTest();
  }
  void Bind() {
    connection().Connect();
    ASSERT_TRUE(connection().bound());
  }
  void Inject(FaultKind kind, int operation, int piece = 0, int times = 1) {
    sim::Fault fault;
    fault.kind = kind;
    fault.operation = operation;
    fault.piece = piece;
    fault.times = times;
    instrument.InjectFault(fault);
  }
  bool FetchBitmap() { return device.bitmap_transfer().FetchScreenBitmap(dir.path(), target); }
  bool TempFileLeft() const { return testing::FileExists(dir.File("myTempBmp.bmp")); }

  testing::RecordingTarget target;
};

TEST_F(SimDeviceTest, BindAndUnbindThroughTheStateTable) {
  // Linked: UnBind is refused, Bind goes to Bound.
  ASSERT_TRUE(connection().link_ok());
  connection().Disconnect();
  EXPECT_EQ(ui.messages.at(0).text, "Current isn't Binding ,so can't do 'UnBind' oper!");
  EXPECT_EQ(instrument.exchange_count(), 0u);
  Bind();
  EXPECT_TRUE(instrument.bound());
  EXPECT_EQ(ui.panes[3], "Dentrallo: NRG-200, 200 MHz, 1 GSa/s");

  // Bound: Connect does nothing at all; a good link test keeps the binding.
  Forget();
  connection().Connect();
  EXPECT_TRUE(ui.events.empty() && ui.messages.empty() && ui.lamp_refreshes == 0);
  EXPECT_EQ(instrument.exchange_count(), 1u);
  connection().TestLinkState();
  EXPECT_TRUE(connection().bound());
  EXPECT_EQ(ui.messages.at(0).text, "The State is natural!");

  // UnBind goes back to Linked.
  connection().Disconnect();
  EXPECT_FALSE(connection().bound() || instrument.bound());
  EXPECT_TRUE(connection().link_ok());
  EXPECT_EQ(hooks.calls, (Strings{"settings:off", "timer:stop", "auto:on"}));
  EXPECT_EQ(ui.lamp_refreshes, 2);
  EXPECT_EQ(Operations(), (Strings{"Test the Link state", "UnBind", "UnBind successed!"}));

  // No link: nothing is sent, both commands are refused.
  instrument.Unplug();
  Forget();
  connection().StartupLinkTest();
  EXPECT_EQ(ui.panes[3], "The link is incorrect!");
  EXPECT_TRUE(ui.messages.empty());
  connection().Connect();
  connection().Disconnect();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "The link is incorrect!");
  EXPECT_EQ(instrument.exchange_count(), 2u);
  EXPECT_TRUE(Operations().empty());
}

TEST_F(SimDeviceTest, UnplugWhileBoundStopsTheTimerAndPlugInNeedsANewBind) {
  Bind();
  Forget();
  instrument.Unplug();
  EXPECT_FALSE(connection().link_ok() || connection().bound());
  EXPECT_EQ(hooks.calls, (Strings{"timer:stop", "auto:on"}));
  EXPECT_EQ(ui.panes[3], "There is a device changing !");
  EXPECT_TRUE(Logged("NORMAL :当前应用程序检测到USB设备的拔插动作"));
  instrument.Plug();
  EXPECT_TRUE(connection().link_ok());
  EXPECT_FALSE(connection().bound());
  EXPECT_EQ(hooks.calls.size(), 2u);
  Bind();
}

class ProductTypeTest : public SimDeviceTest {
 protected:
  ProductTypeTest() : SimDeviceTest(53) {}
};

TEST_F(ProductTypeTest, RefusedBindStoresTheTypeAndALaterOneShowsTheModel) {
  ui.panes[3] = "Dentrallo";
  Inject(FaultKind::kResultFailure, OP_BIND);
  connection().Connect();
  EXPECT_FALSE(connection().bound());
  EXPECT_EQ(store().product_type, 53);
  EXPECT_EQ(ui.panes[3], "Dentrallo");
  EXPECT_EQ(ui.messages.at(0).text, "Try to Bind failed!");
  EXPECT_TRUE(Logged("WARNING:尝试连接设备操作失败"));
  Bind();
  EXPECT_EQ(ui.panes[3], "Dentrallo model NRM-25");
}

class UnlistedProductTest : public SimDeviceTest {
 protected:
  UnlistedProductTest() : SimDeviceTest(30) {}
};

TEST_F(UnlistedProductTest, BindLeavesPane3Alone) {
  ui.panes[3] = "Dentrallo";
  Bind();
  EXPECT_EQ(store().product_type, 30);
  EXPECT_EQ(ui.panes[3], "Dentrallo");
}

TEST_F(SimDeviceTest, RefreshFetchesTheChannelsThatAreOn) {
  Bind();
  Forget();
  hooks.options = {true, false, false};
  ASSERT_EQ(acquisition().RefreshAll(), 1);
  EXPECT_GT(store().ch1.count, 1);
  EXPECT_LT(store().ch1.count, kMaxSamples);
  EXPECT_NE(store().ch1.measure, MeasureBlock{});
  EXPECT_EQ(store().ch2.measure, MeasureBlock{});
  EXPECT_EQ(store().sec_div_text, "500.00us");
  EXPECT_EQ(store().panel_state[7], instrument.panel_lamps()[0]);
  EXPECT_EQ(Waits(), (std::vector<int>{50, 200, 100}));
  // The busy indicator's steps: four of 2 x 2 ms and the 5 ms finish.
  EXPECT_EQ(ui.slept_ms, 50 + 200 + 100 + 16 + 5);
  EXPECT_EQ(hooks.calls, (Strings{"redraw", "lamps"}));
  EXPECT_EQ(Operations(), (Strings{"Refresh the Wave Graph"}));

  // CH2 switched off on the instrument: only CH1 is fetched, as all data.
  ASSERT_EQ(connection().SendPanelKey(kKeyCh2, 0), 1);
  Forget();
  hooks.options = {false, false, true};
  const uint64_t before = instrument.exchange_count();
  ASSERT_EQ(acquisition().RefreshAll(), 1);
  EXPECT_EQ(instrument.exchange_count() - before, 2u);
  EXPECT_FALSE(store().ch2.enabled);
  EXPECT_EQ(store().ch1.count, kMaxSamples);
  EXPECT_EQ(store().sec_div_text, "800.00us");
  EXPECT_EQ(Waits(), (std::vector<int>{50, 100}));

  // Both channels as all data: the stretch is applied once per parameter record.
  ASSERT_EQ(connection().SendPanelKey(kKeyCh2, 0), 1);
  ASSERT_EQ(acquisition().RefreshAll(), 1);
  EXPECT_EQ(store().ch2.count, kMaxSamples);
  EXPECT_EQ(store().sec_div_text, "800.00us");
}

TEST_F(SimDeviceTest, AnInstrumentLostInARefreshEndsItAndStopsTheTimer) {
  Bind();
  Forget();
  // The instrument goes away after the parameter record.
  instrument.UnplugAfter(1);
  const uint64_t before = instrument.exchange_count();
  EXPECT_EQ(acquisition().RefreshAll(), 0);
  EXPECT_EQ(instrument.exchange_count() - before, 1u);
  EXPECT_TRUE(Logged("通信失败，刷新CH1波形数据失败"));
  EXPECT_EQ(hooks.calls, (Strings{"timer:stop", "auto:on"}));
  EXPECT_EQ(device.busy_indicator().position(), 0);
  EXPECT_FALSE(ui.wait_cursor);
}

TEST_F(SimDeviceTest, CleanBitmapTransferYieldsTheInstrumentsBitmap) {
  Bind();
  Forget();
  const uint64_t before = instrument.exchange_count();
  ASSERT_TRUE(FetchBitmap());
  ASSERT_EQ(target.loaded.size(), 1u);
  EXPECT_EQ(target.loaded[0], instrument.ScreenBitmap());
  EXPECT_EQ(instrument.exchange_count() - before, 22u);  // begin, 20 pieces, end
  EXPECT_EQ(target.title, "20261206-090507");
  EXPECT_FALSE(TempFileLeft());
  EXPECT_TRUE(Waits().empty());  // the reads wait for the answers themselves
  EXPECT_EQ(ui.panes[1], "Ready...");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SimDeviceTest, SpoiledBitmapPiecesAreRetriedUpToSixTimes) {
  Bind();
  Inject(FaultKind::kWrongFileNum, 0, 3);
  Inject(FaultKind::kBadChecksum, 0, 5, 5);
  Inject(FaultKind::kZeroFileLen, 0, 19);
  ASSERT_TRUE(FetchBitmap());
  EXPECT_EQ(target.loaded.at(0), instrument.ScreenBitmap());
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包的 file_num 错误:大于请求值"));
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包错误：校验不通过"));
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包的 file_len 错误:len < 1"));

  Inject(FaultKind::kBadChecksum, 0, 4, 6);
  EXPECT_FALSE(FetchBitmap());
  EXPECT_EQ(ui.messages.at(0).text, "Try to refresh the DSO Bitmap failed");
  EXPECT_TRUE(Logged("Try to get the data piece failed：4"));
  EXPECT_TRUE(Logged("ERROR  :更新‘设备界面位图’失败！"));
  EXPECT_FALSE(TempFileLeft());
  EXPECT_EQ(target.loaded.size(), 1u);
  // The instrument was told the transfer is over: the next one runs clean.
  ASSERT_TRUE(FetchBitmap());
}

TEST_F(SimDeviceTest, FailedBitmapBeginOrEndLeavesNoPicture) {
  Bind();
  Inject(FaultKind::kResultFailure, OP_BMP_BEGIN);
  EXPECT_FALSE(FetchBitmap());
  EXPECT_EQ(ui.messages.at(0).text, "Try to refresh the DSO Bitmap failed");
  Forget();
  Inject(FaultKind::kResultFailure, OP_BMP_END);
  EXPECT_FALSE(FetchBitmap());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(Logged("更新失败：位图传输‘结束’请求通信失败！"));
  EXPECT_TRUE(target.loaded.empty());
  EXPECT_FALSE(TempFileLeft());
}

}  // namespace
}  // namespace korvelane
