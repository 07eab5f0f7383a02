// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/simulated_link.h"

#include <gtest/gtest.h>

#include "core/protocol/frame.h"

namespace korvelane::sim {
namespace {

class SimulatedLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.SetDeviceChangeNotifier(
        [this](uintptr_t wparam, intptr_t) { notifications.push_back(wparam); });
    ASSERT_EQ(link.UsbOpen(0), 1);
  }

  int Write(void (*build)(MessageBuffer&)) {
    build(request);
    return link.UsbWrite(kPipeOut, request.data(), static_cast<uint32_t>(RequestSize(request)));
  }

  // The program's way of reading: the header, then the whole message.
  bool ReadAnswer() {
    if (!link.UsbRead(kPipeIn, answer.data(), kHeaderSize))
      return false;
    const uint32_t size = MsgLen(ByteView(answer.data(), kHeaderSize)) + kHeaderSize;
    return link.UsbRead(kPipeIn, answer.data(), size) != 0;
  }

  SimulatedInstrument instrument;
  SimulatedLink link{instrument};
  std::vector<uintptr_t> notifications;
  MessageBuffer request{};
  MessageBuffer answer{};
};

TEST_F(SimulatedLinkTest, HeaderReadThenWholeMessageReadGiveTheAnswerOnce) {
  ASSERT_EQ(Write(BuildBindRequest), 1);
  ASSERT_EQ(link.UsbRead(kPipeIn, answer.data(), 16), 1);
  EXPECT_EQ(MsgLen(ByteView(answer.data(), 16)), 4u);
  answer.fill(0);
  ASSERT_EQ(link.UsbRead(kPipeIn, answer.data(), 20), 1);
  EXPECT_EQ(std::string(answer.begin(), answer.begin() + 8), "DSOPPV20");
  EXPECT_EQ(answer[kOffsetOperationId], OP_BIND);
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), 16), 0) << "the answer was read whole";
  EXPECT_TRUE(instrument.bound());
}

TEST_F(SimulatedLinkTest, WriteDiscardsTheUnreadAnswerAndBadReadsFail) {
  Write(BuildBindRequest);
  ASSERT_EQ(link.UsbRead(kPipeIn, answer.data(), 16), 1);
  Write(BuildParamsRequest);
  ASSERT_TRUE(ReadAnswer());
  EXPECT_EQ(answer[kOffsetOperationId], OP_WAVE_DATA);

  Write(BuildParamsRequest);
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), 16 + 65), 0) << "longer than the answer";
  EXPECT_EQ(link.UsbRead(kPipeIn, answer.data(), 16), 0) << "and it is gone";
  EXPECT_EQ(link.UsbRead(kPipeOut, answer.data(), 16), 0);
  EXPECT_EQ(link.UsbWrite(kPipeIn, request.data(), 20), 0);

  instrument.InjectFault({FaultKind::kDropAnswer});
  EXPECT_EQ(Write(BuildParamsRequest), 1);
  EXPECT_FALSE(ReadAnswer());
}

TEST_F(SimulatedLinkTest, UnplugAndPlugAreReportedAndReopenWithoutUsbOpen) {
  instrument.Unplug();
  EXPECT_EQ(notifications, std::vector<uintptr_t>{kDeviceRemoveComplete});
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  EXPECT_EQ(Write(BuildBindRequest), 0);

  instrument.Plug();
  EXPECT_EQ(notifications.back(), kDeviceArrival);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1);
  EXPECT_EQ(Write(BuildBindRequest), 1);
  EXPECT_TRUE(ReadAnswer());
}

TEST_F(SimulatedLinkTest, AnUnplugHandledAfterTheInstrumentCameBackStillReadsAsGone) {
  instrument.Unplug();
  instrument.Plug();
  link.UsbDeviceChange(kDeviceRemoveComplete, 0);
  EXPECT_EQ(link.UsbIsOpen(), 0);
  link.UsbDeviceChange(kDeviceArrival, 0);
  EXPECT_EQ(link.UsbIsOpen(), 1);
}

}  // namespace
}  // namespace korvelane::sim
