#include "core/protocol/frame.h"

#include <gtest/gtest.h>

#include "support/messages.h"

namespace korvelane {
namespace {

using testing::Bytes;
using testing::Hex;

Bytes Wire(const MessageBuffer& buffer) {
  return Bytes(buffer.begin(), buffer.begin() + static_cast<long>(RequestSize(buffer)));
}

TEST(Frame, ParametersRequestGoldenBytes) {
  MessageBuffer buffer;
  buffer.fill(0xEE);
  BuildParamsRequest(buffer);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 00 00 00 00");
  for (size_t i = 20; i < buffer.size(); ++i)
    ASSERT_EQ(buffer[i], 0) << "byte " << i;
}

TEST(Frame, ChannelRequestsCarryTheirSelector) {
  MessageBuffer buffer;
  BuildChannelRequest(buffer, WD_CH2, 1);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 02 01 00 00");
  BuildChannelRequest(buffer, WD_CH1_ALL, 0);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 05 00 00 00");
  BuildConfigUploadRequest(buffer);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 04 00 00 00");
}

TEST(Frame, SettingsDownloadIs2516Bytes) {
  ConfigBlock block;
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<uint8_t>(i * 7 + 1);
  MessageBuffer buffer;
  BuildConfigDownloadRequest(buffer, block);
  const Bytes wire = Wire(buffer);
  ASSERT_EQ(wire.size(), 2516u);
  EXPECT_EQ(Hex(wire.data(), 16), "44 53 4F 50 50 56 32 30 00 00 09 C4 00 0A 00 00");
  EXPECT_TRUE(std::equal(block.begin(), block.end(), wire.begin() + 16));
}

TEST(Frame, BitmapRequests) {
  MessageBuffer buffer;
  BuildBmpPieceRequest(buffer, 0x01020304);
  EXPECT_EQ(Hex(Wire(buffer)),
            "44 53 4F 50 50 56 32 30 00 00 00 08 00 0C 00 00 00 00 00 00 01 02 03 04");
  BuildBmpBeginRequest(buffer);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 0B 00 00 00 00 00 00");
  BuildBmpEndRequest(buffer);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 0D 00 00 00 00 00 00");
}

TEST(Frame, BindUnbindAndPanelKey) {
  MessageBuffer buffer;
  BuildBindRequest(buffer);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 01 00 00 00 00 00 00");
  BuildUnbindRequest(buffer);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 02 00 00 00 00 00 00");
  BuildPanelKeyRequest(buffer, 161, 1);
  EXPECT_EQ(Hex(Wire(buffer)), "44 53 4F 50 50 56 32 30 00 00 00 04 00 04 00 00 A1 01 00 00");
}

TEST(Frame, EveryRequestClearsTheBufferAndLeavesReservedBytesZero) {
  ConfigBlock block;
  block.fill(0xAB);
  const std::vector<void (*)(MessageBuffer&)> builders = {
      [](MessageBuffer& b) { BuildBindRequest(b); },
      [](MessageBuffer& b) { BuildUnbindRequest(b); },
      [](MessageBuffer& b) { BuildPanelKeyRequest(b, 15, 1); },
      [](MessageBuffer& b) { BuildParamsRequest(b); },
      [](MessageBuffer& b) { BuildChannelRequest(b, WD_CH1, 1); },
      [](MessageBuffer& b) { BuildConfigUploadRequest(b); },
      [](MessageBuffer& b) { BuildBmpBeginRequest(b); },
      [](MessageBuffer& b) { BuildBmpPieceRequest(b, 19); },
      [](MessageBuffer& b) { BuildBmpEndRequest(b); },
  };
  for (auto build : builders) {
    MessageBuffer buffer;
    buffer.fill(0xFF);
    build(buffer);
    EXPECT_EQ(buffer[12], 0);
    EXPECT_EQ(buffer[14], 0);
    EXPECT_EQ(buffer[15], 0);
    for (size_t i = RequestSize(buffer); i < buffer.size(); ++i)
      ASSERT_EQ(buffer[i], 0);
  }
}

}  // namespace
}  // namespace korvelane
