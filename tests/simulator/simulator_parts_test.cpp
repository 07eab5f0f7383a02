// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's pure parts: fault texts and request framing.
#include <gtest/gtest.h>

#include <tuple>

#include "core/protocol/frame.h"
#include "simulator/fault_text.h"
#include "simulator/request_stream.h"

namespace korvelane::sim {
namespace {

TEST(FaultText, ReadsEveryFormAndRefusesTheRest) {
  struct Case {
    const char* text;
    FaultKind kind;
    int operation, piece, times, code;
  };
  const Case cases[] = {
      {"drop", FaultKind::kDropAnswer, 0, 0, 1, -1},
      {"bad-signature*3", FaultKind::kBadSignature, 0, 0, 3, -1},
      {"error-report=-2", FaultKind::kErrorReport, 0, 0, 1, -2},
      {"result:10", FaultKind::kResultFailure, 10, 0, 1, -1},
      {"checksum:3*2", FaultKind::kBadChecksum, 0, 3, 2, -1},
      {"file-len:0", FaultKind::kZeroFileLen, 0, 0, 1, -1},
  };
  FaultText f;
  std::string error;
  for (const Case& c : cases) {
    ASSERT_TRUE(ParseFaultText(c.text, f, error)) << c.text;
    EXPECT_FALSE(f.unplug);
    EXPECT_EQ(f.fault.kind, c.kind) << c.text;
    EXPECT_EQ(std::make_tuple(f.fault.operation, f.fault.piece, f.fault.times, f.fault.code),
              std::make_tuple(c.operation, c.piece, c.times, c.code))
        << c.text;
  }
  ASSERT_TRUE(ParseFaultText("unplug-after:4", f, error));
  EXPECT_TRUE(f.unplug);
  EXPECT_EQ(f.unplug_after, 4);
  for (const char* bad :
       {"", "explode", "drop:1", "result", "result:0", "result:14", "checksum", "checksum:x",
        "drop*0", "drop*", "unplug-after:", "unplug-after:2*2", "result=3:5", "checksum:2junk"}) {
    EXPECT_FALSE(ParseFaultText(bad, f, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

std::vector<uint8_t> Request(int8_t operation, size_t body_size) {
  MessageBuffer b{};
  BuildHeader(b, operation, static_cast<uint32_t>(body_size));
  return std::vector<uint8_t>(b.begin(), b.begin() + static_cast<long>(16 + body_size));
}

TEST(RequestStream, CutsMessagesFromPiecesAndSkipsGarbage) {
  RequestStream stream;
  const std::vector<uint8_t> a = Request(OP_BIND, 4);
  const std::vector<uint8_t> b = Request(OP_SET_CONFIG, 2500);
  std::vector<uint8_t> bytes = {'x', 'D', 'S', 'O'};  // garbage, a false start
  bytes.insert(bytes.end(), a.begin(), a.end());
  bytes.insert(bytes.end(), b.begin(), b.end());
  std::vector<uint8_t> message;
  for (size_t i = 0; i < bytes.size(); i += 7) {
    stream.Append(bytes.data() + i, std::min<size_t>(7, bytes.size() - i));
    if (i + 7 < 20) {
      EXPECT_FALSE(stream.Next(message));
    }
  }
  ASSERT_TRUE(stream.Next(message));
  EXPECT_EQ(message, a);
  ASSERT_TRUE(stream.Next(message));
  EXPECT_EQ(message, b);
  EXPECT_FALSE(stream.Next(message));
  EXPECT_EQ(stream.discarded(), 4u);
  EXPECT_EQ(stream.buffered(), 0u);
}

}  // namespace
}  // namespace korvelane::sim
