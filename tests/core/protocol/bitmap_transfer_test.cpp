// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/bitmap_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::PieceBody;

class BitmapTransferTest : public testing::DeviceTest {
 protected:
  void QueueBegin(uint32_t total, uint8_t data_type = 0) {
    Bytes body = Body(12, {data_type});
    testing::PutU32(body, 4, total);
    QueueAnswer(OP_BMP_BEGIN, body);
  }
  bool Fetch(const std::string& folder) {
    return device.bitmap_transfer().FetchScreenBitmap(folder, target);
  }
  // The operation of each request sent.
  std::vector<int> Requests() const {
    std::vector<int> ops;
    for (const Bytes& request : link.writes())
      ops.push_back(request[13]);
    return ops;
  }

  testing::RecordingTarget target;
};

// Each refusal in the order the checks are made: a piece wrong in two ways names the first.
TEST_F(BitmapTransferTest, PieceChecksAreMadeInOrderAndARefusedPieceIsNotCounted) {
  const auto with = [](Bytes body, size_t at, uint8_t value) {
    body.at(at) = value;
    return body;
  };
  Bytes too_long = PieceBody(1, {1});
  testing::PutU32(too_long, 4, 4001);
  Bytes truncated = PieceBody(1, {1});
  truncated.resize(4013);
  const Bytes good = PieceBody(1, {1, 2, 3, 4});
  const std::pair<Bytes, const char*> refused[] = {
      {truncated, "解析‘Bmp_Trans_Result’信息包错误：包身长度不足"},
      {with(with(good, 4012, 1), 4013, 1), "解析‘Bmp_Trans_Result’信息包得到的 result 为错误值"},
      {with(good, 4012, 1), "解析‘Bmp_Trans_Result’信息包的 data_type 与请求的类型不符"},
      {PieceBody(0, {1}), "解析‘Bmp_Trans_Result’信息包的 file_num 错误:小于请求值"},
      {PieceBody(2, {1}), "解析‘Bmp_Trans_Result’信息包的 file_num 错误:大于请求值"},
      {PieceBody(1, {}), "解析‘Bmp_Trans_Result’信息包的 file_len 错误:len < 1"},
      {too_long, "解析‘Bmp_Trans_Result’信息包的 file_len 错误:len > 4000"},
      {with(good, 11, good[11] ^ 1), "解析‘Bmp_Trans_Result’信息包错误：校验不通过"},
  };
  BitmapTransferState state;
  state.expected_piece = 1;
  state.total_length = 10;
  SampleArray piece{};
  const auto take = [&](const Bytes& body) {
    return HandleBmpTransResult(ByteView(body.data(), body.size()), state, piece, debug_log);
  };
  std::ptrdiff_t lines = 0;
  for (const auto& [body, text] : refused) {
    EXPECT_FALSE(take(body)) << text;
    EXPECT_TRUE(Logged(std::string("WARNING:") + text)) << text;
    const std::string log = testing::ReadFileText(debug_log.debug_log_path());
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), ++lines) << "one line for " << text;
  }
  EXPECT_EQ(state.received_length, 0u);

  piece.fill(0xEE);
  EXPECT_TRUE(take(good));
  EXPECT_EQ(state.received_length, 4u);
  EXPECT_FALSE(state.complete());
  EXPECT_FALSE(Logged("位图文件传输全部完成"));
  EXPECT_EQ(Bytes(piece.begin(), piece.begin() + 5), (Bytes{1, 2, 3, 4, 0}));
  state.expected_piece = 2;
  EXPECT_TRUE(take(PieceBody(2, Bytes(6, 0xFF))));
  EXPECT_TRUE(state.complete());
  EXPECT_TRUE(Logged("NORMAL :位图文件传输全部完成！"));
}

// Twenty pieces without completion count as the whole file. Begin and end may take five
// seconds, the pieces the link's own time; the pieces go into a file of their own.
TEST_F(BitmapTransferTest, PiecesAreLoadedFromATemporaryFileOfTheirOwn) {
  const std::string users = dir.File("myTempBmp.bmp");
  testing::WriteFileBytes(users, {'m', 'i', 'n', 'e'});
  QueueBegin(100000);
  for (uint32_t n = 0; n < 20; ++n)
    QueueAnswer(OP_BMP_TRANS, PieceBody(n, Bytes(4000, static_cast<uint8_t>(n))));
  QueueAnswer(OP_BMP_END, Body(4));
  ASSERT_TRUE(Fetch(dir.path()));
  ASSERT_EQ(target.loaded.size(), 1u);
  ASSERT_EQ(target.loaded[0].size(), 80000u);
  EXPECT_EQ(target.loaded[0][79999], 19);
  EXPECT_EQ(target.title, "20261206-090507");
  EXPECT_EQ(link.writes().size(), 22u);
  EXPECT_EQ(testing::Hex(link.writes()[20].data() + 16, 8), "00 00 00 00 00 00 00 13");
  std::vector<int> timeouts(44, testing::ScriptedLink::kOwnTimeout);
  timeouts[0] = timeouts[1] = timeouts[42] = timeouts[43] = 5000;
  EXPECT_EQ(link.read_timeouts(), timeouts);
  EXPECT_TRUE(Waits().empty()) << "no fixed pause";
  EXPECT_EQ(testing::ReadFileText(users), "mine");
  EXPECT_EQ(dir.Names("myTemp"), std::vector<std::string>{"myTempBmp.bmp"});
}

// A piece may fail five times in a row and still come; an answer of another operation is no
// piece. The sixth failure ends the transfer, and an end request that fails too is noted.
TEST_F(BitmapTransferTest, APieceIsAskedForSixTimesBeforeTheTransferIsGivenUp) {
  for (int failures : {5, 6}) {
    link = testing::ScriptedLink();
    Forget();
    QueueBegin(8);
    QueueAnswer(OP_BMP_TRANS, PieceBody(0, Bytes(4, 1)));
    QueueAnswer(OP_PANEL_KEY, Body(4));
    for (int i = 1; i < failures; ++i)
      QueueAnswer(OP_BMP_TRANS, PieceBody(0, Bytes(4, 1)));
    if (failures == 5) {
      QueueAnswer(OP_BMP_TRANS, PieceBody(1, Bytes(4, 2)));
      QueueAnswer(OP_BMP_END, Body(4));
    }
    EXPECT_EQ(Fetch(dir.path()), failures == 5);
    EXPECT_EQ(link.writes().size(), 9u) << failures;
    EXPECT_TRUE(dir.Names("myTemp").empty()) << "the temporary file is removed";
  }
  EXPECT_EQ(target.loaded, (std::vector<std::vector<unsigned char>>{{1, 1, 1, 1, 2, 2, 2, 2}}));
  EXPECT_TRUE(Logged("Try to get the data piece failed：1"));
  EXPECT_TRUE(Logged("ERROR  :更新‘设备界面位图’失败！"));
  EXPECT_TRUE(Logged("位图传输‘结束’请求通信失败！"));
  EXPECT_EQ(ui.messages.at(0).text, "Try to refresh the DSO Bitmap failed");
}

// A begin of the wrong type records the length and still ends the transfer, with the failure
// shown; neither an uncreatable temporary file nor a refused end shows a message or a picture.
TEST_F(BitmapTransferTest, TransfersFailedAtTheirBeginOrEnd) {
  QueueBegin(1234, 2);
  EXPECT_FALSE(Fetch(dir.path()));  // the end request gets no answer
  EXPECT_EQ(device.bitmap_transfer().total_length(), 1234u);
  EXPECT_TRUE(Logged("解析‘Bmp_Begin_Result’信息包得到的 data_type 与请求的类型不符"));
  EXPECT_TRUE(Logged("更新失败：位图传输‘开始’请求通信失败！"));
  EXPECT_TRUE(Logged("位图传输‘结束’请求通信失败！"));
  EXPECT_TRUE(Logged("WARNING:更新‘设备界面位图’失败！"));
  EXPECT_EQ(ui.messages.at(0).text, "Try to refresh the DSO Bitmap failed");

  Forget();
  QueueBegin(100);
  QueueAnswer(OP_BMP_END, Body(4));
  EXPECT_FALSE(Fetch(dir.File("no/such/folder")));
  EXPECT_EQ(Requests(), (std::vector<int>{OP_BMP_BEGIN, OP_BMP_END, OP_BMP_BEGIN, OP_BMP_END}));
  EXPECT_TRUE(Logged("NORMAL :创建‘位图’临时文件失败，取消更新‘位图’！"));

  QueueBegin(3);
  QueueAnswer(OP_BMP_TRANS, PieceBody(0, Bytes(3, 9)));
  QueueAnswer(OP_BMP_END, Body(4, {0, 1}));
  EXPECT_FALSE(Fetch(dir.path()));
  EXPECT_TRUE(Logged("WARNING:更新失败：位图传输‘结束’请求通信失败！"));
  EXPECT_TRUE(target.loaded.empty());
  EXPECT_TRUE(dir.Names("myTemp").empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(device.busy_indicator().position(), 0);
}

}  // namespace
}  // namespace korvelane
