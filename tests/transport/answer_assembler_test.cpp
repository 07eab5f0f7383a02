// SPDX-License-Identifier: GPL-3.0-or-later
// Assembling an answer from the pieces the bulk transfers deliver.
#include "transport/answer_assembler.h"

#include <gtest/gtest.h>

#include "core/protocol/frame.h"
#include "support/messages.h"

namespace korvelane::testing {
namespace {

using transport::AnswerAssembler;
using State = AnswerAssembler::State;

// A parameter answer with a body of `body` bytes.
Bytes ParamsAnswer(size_t body) {
  return MakeMessage(OP_WAVE_DATA, Body(body, {0, WD_PARAMS, 7}));
}

// Feeds `answer` in pieces of the given sizes (the rest in one) and returns what was assembled.
Bytes Assemble(AnswerAssembler& assembler, const Bytes& answer, const std::vector<size_t>& cut) {
  size_t at = 0;
  for (size_t piece : cut) {
    piece = std::min(piece, answer.size() - at);
    EXPECT_EQ(assembler.state(), State::kCollecting);
    assembler.Take(answer.data() + at, piece);
    at += piece;
  }
  if (at < answer.size())
    assembler.Take(answer.data() + at, answer.size() - at);
  const ByteView message = assembler.message();
  return Bytes(message.data(), message.data() + message.size());
}

TEST(AnswerAssembler, CompletesAtTheAnnouncedLengthHoweverTheAnswerIsCut) {
  const Bytes answer = ParamsAnswer(4184);
  const std::vector<std::vector<size_t>> cuts = {
      {}, {16}, {1, 15}, {15, 2}, {3, 700, 1}, {512, 512, 512}, {4199}, {0, 0, 16}};
  for (const auto& cut : cuts) {
    SCOPED_TRACE(::testing::PrintToString(cut));
    AnswerAssembler assembler;
    EXPECT_EQ(assembler.Missing(), kHeaderSize);
    EXPECT_EQ(Assemble(assembler, answer, cut), answer);
    EXPECT_EQ(assembler.state(), State::kComplete);
    EXPECT_EQ(assembler.Missing(), 0u);
    EXPECT_FALSE(assembler.surplus());
  }

  // After the header, what is missing is the rest of the message; a body of nothing is whole
  // with its header.
  AnswerAssembler assembler;
  assembler.Take(answer.data(), 20);
  EXPECT_EQ(assembler.Missing(), answer.size() - 20);
  const Bytes empty = MakeMessage(OP_BIND, {});
  assembler.Reset();
  EXPECT_EQ(Assemble(assembler, empty, {}), empty);
}

TEST(AnswerAssembler, RefusesOversizeAnswersAndDropsSurplusBytes) {
  // The limit counts the header: a message of exactly the limit passes, one byte more does not.
  for (uint32_t body : {100u - 16u, 100u - 15u, 0x7F000004u}) {
    SCOPED_TRACE(body);
    Bytes header = MakeMessage(OP_BIND, {});
    PutU32(header, kOffsetMsgLen, body);
    AnswerAssembler assembler(100);
    const State state = assembler.Take(header.data(), header.size());
    EXPECT_EQ(state, body <= 84 ? State::kCollecting : State::kRefused);
    EXPECT_EQ(assembler.announced_length(), body);
    if (state == State::kRefused) {
      EXPECT_EQ(assembler.Missing(), 0u);
      uint8_t buffer[kHeaderSize];
      EXPECT_FALSE(assembler.Read(buffer, kHeaderSize));
    }
  }

  // Bytes past the message are not part of it, however they come.
  const Bytes answer = ParamsAnswer(40);
  Bytes trailing = answer;
  trailing.insert(trailing.end(), 9, 0xEE);
  for (const std::vector<size_t>& cut : {std::vector<size_t>{}, {10}, {30, 19}}) {
    AnswerAssembler assembler;
    EXPECT_EQ(Assemble(assembler, trailing, cut), answer);
    EXPECT_TRUE(assembler.surplus());
  }
}

}  // namespace
}  // namespace korvelane::testing
