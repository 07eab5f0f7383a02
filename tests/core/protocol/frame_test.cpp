// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/frame.h"

#include <gtest/gtest.h>

#include "support/messages.h"

namespace korvelane {
namespace {

using testing::Hex;

// Each request's golden bytes; the rest of the buffer is cleared. (The wave data requests and
// the settings download are checked where the acquisition sends them.)
TEST(Frame, RequestsHaveTheirGoldenBytesAndClearTheRestOfTheBuffer) {
  using Build = void (*)(MessageBuffer&);
  const std::pair<Build, const char*> cases[] = {
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
    EXPECT_EQ(Hex(buffer.data(), RequestSize(buffer)), golden);
    for (size_t i = RequestSize(buffer); i < buffer.size(); ++i)
      ASSERT_EQ(buffer[i], 0) << golden << ", byte " << i;
  }
}

}  // namespace
}  // namespace korvelane
