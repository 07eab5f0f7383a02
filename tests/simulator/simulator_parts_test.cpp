// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's pure parts: fault texts and request framing.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/protocol/frame.h"
#include "simulator/fault_text.h"
#include "simulator/request_stream.h"
#include "support/messages.h"

namespace korvelane::sim {
namespace {

TEST(FaultText, ReadsEveryFormAndRefusesTheRest) {
  const std::pair<const char*, Fault> cases[] = {
      {"drop", {FaultKind::kDropAnswer, 0, 0, 1, -1}},
      {"bad-signature*3", {FaultKind::kBadSignature, 0, 0, 3, -1}},
      {"error-report=-2", {FaultKind::kErrorReport, 0, 0, 1, -2}},
      {"result:10", {FaultKind::kResultFailure, 10, 0, 1, -1}},
      {"checksum:3*2", {FaultKind::kBadChecksum, 0, 3, 2, -1}},
      {"file-len:0", {FaultKind::kZeroFileLen, 0, 0, 1, -1}},
  };
  const auto fields = [](const Fault& f) {
    return std::make_tuple(static_cast<int>(f.kind), f.operation, f.piece, f.times, f.code);
  };
  FaultText f;
  std::string error;
  for (const auto& [text, fault] : cases) {
    ASSERT_TRUE(ParseFaultText(text, f, error)) << text;
    EXPECT_FALSE(f.unplug);
    EXPECT_EQ(fields(f.fault), fields(fault)) << text;
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

TEST(RequestStream, CutsMessagesFromPiecesAndSkipsGarbage) {
  RequestStream stream;
  const std::vector<uint8_t> a = testing::MakeMessage(OP_BIND, testing::Body(4), 0);
  const std::vector<uint8_t> b = testing::MakeMessage(OP_SET_CONFIG, testing::Body(2500), 0);
  std::vector<uint8_t> bytes = {'x', 'D', 'S', 'O'};  // garbage, a false start
  bytes.insert(bytes.end(), a.begin(), a.end());
  bytes.insert(bytes.end(), b.begin(), b.end());
  std::vector<uint8_t> message;
  for (size_t i = 0; i < bytes.size(); i += 7) {
    stream.Append(bytes.data() + i, std::min<size_t>(7, bytes.size() - i));
    EXPECT_FALSE(i + 7 < 20 && stream.Next(message)) << "no whole message before byte 20";
  }
  ASSERT_TRUE(stream.Next(message));
  EXPECT_EQ(message, a);
  ASSERT_TRUE(stream.Next(message));
  EXPECT_EQ(message, b);
  EXPECT_FALSE(stream.Next(message));
  EXPECT_EQ(stream.discarded(), 4u);
}

}  // namespace
}  // namespace korvelane::sim
