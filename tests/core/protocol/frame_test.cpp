// SPDX-License-Identifier: GPL-3.0-or-later
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

// Each request's golden bytes; the rest of the buffer is cleared.
TEST(Frame, RequestsHaveTheirGoldenBytesAndClearTheRestOfTheBuffer) {
  using Build = void (*)(MessageBuffer&);
  const std::pair<Build, const char*> cases[] = {
      {[](MessageBuffer& b) { BuildParamsRequest(b); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 00 00 00 00"},
      {[](MessageBuffer& b) { BuildChannelRequest(b, WD_CH2, 1); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 02 01 00 00"},
      {[](MessageBuffer& b) { BuildChannelRequest(b, WD_CH1_ALL, 0); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 05 00 00 00"},
      {[](MessageBuffer& b) { BuildConfigUploadRequest(b); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 05 00 00 04 00 00 00"},
      {[](MessageBuffer& b) { BuildBmpPieceRequest(b, 0x01020304); },
       "44 53 4F 50 50 56 32 30 00 00 00 08 00 0C 00 00 00 00 00 00 01 02 03 04"},
      {[](MessageBuffer& b) { BuildBmpBeginRequest(b); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 0B 00 00 00 00 00 00"},
      {[](MessageBuffer& b) { BuildBmpEndRequest(b); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 0D 00 00 00 00 00 00"},
      {[](MessageBuffer& b) { BuildBindRequest(b); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 01 00 00 00 00 00 00"},
      {[](MessageBuffer& b) { BuildUnbindRequest(b); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 02 00 00 00 00 00 00"},
      {[](MessageBuffer& b) { BuildPanelKeyRequest(b, 161, 1); },
       "44 53 4F 50 50 56 32 30 00 00 00 04 00 04 00 00 A1 01 00 00"},
  };
  for (const auto& [build, golden] : cases) {
    MessageBuffer buffer;
    buffer.fill(0xEE);
    build(buffer);
    EXPECT_EQ(Hex(Wire(buffer)), golden);
    for (size_t i = RequestSize(buffer); i < buffer.size(); ++i)
      ASSERT_EQ(buffer[i], 0) << golden << ", byte " << i;
  }
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

}  // namespace
}  // namespace korvelane
