// SPDX-License-Identifier: GPL-3.0-or-later
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
  bool TempFileLeft() const { return !dir.Names("myTempBmp").empty(); }

  testing::RecordingTarget target;
};

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
