// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/simulated_link.h"

#include <gtest/gtest.h>

#include "core/protocol/frame.h"

namespace korvelane::sim {
namespace {

class SimulatedLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t) { heard.push_back(wparam); });
    ASSERT_EQ(link.UsbOpen(0), 1);
  }

  int Write(void (*build)(MessageBuffer&)) {
    build(request);
    return link.UsbWrite(kPipeOut, request.data(), static_cast<uint32_t>(RequestSize(request)));
  }
  int Read(uint32_t count) { return link.UsbRead(kPipeIn, answer.data(), count); }

  SimulatedInstrument instrument;
  SimulatedLink link{instrument};
  std::vector<uintptr_t> heard;
  MessageBuffer request{};
  MessageBuffer answer{};
};

TEST_F(SimulatedLinkTest, TheAnswerIsReadOnceAsHeaderThenWholeAndANewRequestDropsTheRest) {
  ASSERT_EQ(Write(BuildBindRequest), 1);
  ASSERT_EQ(Read(kHeaderSize), 1);
  ASSERT_EQ(Read(kHeaderSize + 4), 1);
  EXPECT_EQ(answer[kOffsetOperationId], OP_BIND);
  EXPECT_EQ(Read(kHeaderSize), 0) << "the answer was read whole";

  Write(BuildBindRequest);
  ASSERT_EQ(Read(kHeaderSize), 1);
  Write(BuildParamsRequest);
  ASSERT_EQ(Read(kHeaderSize + 64), 1);
  EXPECT_EQ(answer[kOffsetOperationId], OP_WAVE_DATA);

  Write(BuildParamsRequest);
  EXPECT_EQ(Read(kHeaderSize + 65), 0) << "longer than the answer";
  EXPECT_EQ(Read(kHeaderSize), 0) << "and it is gone";
  EXPECT_EQ(link.UsbRead(kPipeOut, answer.data(), kHeaderSize), 0);
  EXPECT_EQ(link.UsbWrite(kPipeIn, request.data(), 20), 0);
  instrument.InjectFault({FaultKind::kDropAnswer});
  EXPECT_EQ(Write(BuildParamsRequest), 1);
  EXPECT_EQ(Read(kHeaderSize), 0);
}

TEST_F(SimulatedLinkTest, PlugEventsAreReportedAndALossHandledLateStillReadsAsGone) {
  instrument.Unplug();
  EXPECT_EQ(heard, std::vector<uintptr_t>{kDeviceRemoveComplete});
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  EXPECT_EQ(Write(BuildBindRequest), 0);
  instrument.Plug();
  EXPECT_EQ(heard.back(), kDeviceArrival);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1) << "open again without UsbOpen";
  EXPECT_EQ(Write(BuildBindRequest), 1);

  // Back before the program handled the loss: gone until the return is handled too.
  instrument.Unplug();
  instrument.Plug();
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1);
}

}  // namespace
}  // namespace korvelane::sim
