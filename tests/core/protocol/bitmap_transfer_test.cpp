// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/bitmap_transfer.h"

#include <gtest/gtest.h>

#include "device_world.h"

namespace korvelane {
namespace {

using testing::Body;
using testing::Bytes;
using testing::PieceBody;

class BitmapTransferTest : public testing::DeviceTest {
 protected:
  int Piece(const Bytes& body) {
    return HandleBmpTransResult(ByteView(body.data(), body.size()), state, piece, debug_log);
  }
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

  BitmapTransferState state;
  SampleArray piece{};
  testing::RecordingTarget target;
};

TEST_F(BitmapTransferTest, PieceChecksAreMadeInOrder) {
  state.expected_piece = 1;
  state.total_length = 10;
  Bytes both_wrong = PieceBody(1, {1, 2, 3, 4});
  both_wrong[4012] = 1;
  both_wrong[4013] = 1;
  EXPECT_EQ(Piece(both_wrong), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包得到的 result 为错误值"));
  EXPECT_FALSE(Logged("data_type 与请求的类型不符"));
  both_wrong[4013] = 0;
  EXPECT_EQ(Piece(both_wrong), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包的 data_type 与请求的类型不符"));
  EXPECT_EQ(Piece(PieceBody(0, {1})), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包的 file_num 错误:小于请求值"));
  EXPECT_EQ(Piece(PieceBody(2, {1})), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包的 file_num 错误:大于请求值"));
  EXPECT_EQ(Piece(PieceBody(1, {})), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包的 file_len 错误:len < 1"));
  Bytes too_long = PieceBody(1, {1});
  testing::PutU32(too_long, 4, 4001);
  EXPECT_EQ(Piece(too_long), 1);
  Bytes bad_sum = PieceBody(1, {1, 2, 3, 4});
  bad_sum[11] ^= 1;
  EXPECT_EQ(Piece(bad_sum), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_Trans_Result’信息包错误：校验不通过"));
  Bytes truncated = PieceBody(1, {1});
  truncated.resize(4013);
  EXPECT_EQ(Piece(truncated), 1);
  EXPECT_EQ(state.received_length, 0u);

  piece.fill(0xEE);
  EXPECT_EQ(Piece(PieceBody(1, {1, 2, 3, 4})), 0);
  EXPECT_EQ(state.received_length, 4u);
  EXPECT_EQ(piece[3], 4);
  EXPECT_EQ(piece[4], 0);
  state.expected_piece = 2;
  EXPECT_EQ(Piece(PieceBody(2, Bytes(6, 0xFF))), 2);
  EXPECT_TRUE(Logged("NORMAL :位图文件传输全部完成！"));

  const Bytes end = Body(4, {1});
  EXPECT_EQ(HandleBmpEndResult(ByteView(end.data(), end.size()), debug_log), 1);
  EXPECT_TRUE(Logged("解析‘Bmp_End_Result’信息包得到的 data_type 与请求的类型不符"));
}

TEST_F(BitmapTransferTest, BeginWithAWrongTypeRecordsTheLengthAndStillEnds) {
  QueueBegin(1234, 2);
  EXPECT_FALSE(Fetch(dir.path()));  // the end request gets no answer
  EXPECT_EQ(device.bitmap_transfer().total_length(), 1234u);
  EXPECT_TRUE(Logged("解析‘Bmp_Begin_Result’信息包得到的 data_type 与请求的类型不符"));
  EXPECT_EQ(Requests(), (std::vector<int>{OP_BMP_BEGIN, OP_BMP_END}));
  EXPECT_TRUE(Logged("更新失败：位图传输‘开始’请求通信失败！"));
  EXPECT_TRUE(Logged("位图传输‘结束’请求通信失败！"));
  EXPECT_TRUE(Logged("WARNING:更新‘设备界面位图’失败！"));
  EXPECT_EQ(ui.messages.at(0).text, "Try to refresh the DSO Bitmap failed");
}

TEST_F(BitmapTransferTest, TwentyPiecesWithoutCompletionAreLoaded) {
  QueueBegin(100000);
  for (uint32_t n = 0; n < 20; ++n)
    QueueAnswer(OP_BMP_TRANS, PieceBody(n, Bytes(4000, static_cast<uint8_t>(n))));
  QueueAnswer(OP_BMP_END, Body(4));
  ASSERT_TRUE(Fetch(dir.path()));
  ASSERT_EQ(target.loaded.size(), 1u);
  ASSERT_EQ(target.loaded[0].size(), 80000u);
  EXPECT_EQ(target.loaded[0][79999], 19);
  EXPECT_EQ(link.writes().size(), 22u);
  EXPECT_EQ(link.writes()[20].size(), 24u);
  EXPECT_EQ(testing::Hex(link.writes()[20].data() + 16, 8), "00 00 00 00 00 00 00 13");
}

TEST_F(BitmapTransferTest, BeginAndEndMayTakeFiveSecondsAndNoFileOfTheFolderIsTouched) {
  const std::string users = dir.File("myTempBmp.bmp");
  testing::WriteFileBytes(users, {'m', 'i', 'n', 'e'});
  QueueBegin(6);
  QueueAnswer(OP_BMP_TRANS, PieceBody(0, Bytes(6, 9)));
  QueueAnswer(OP_BMP_END, Body(4));
  ASSERT_TRUE(Fetch(dir.path()));
  EXPECT_EQ(target.loaded.at(0), Bytes(6, 9));
  // Header and body of begin, piece and end.
  constexpr int kOwn = testing::ScriptedLink::kOwnTimeout;
  EXPECT_EQ(link.read_timeouts(), (std::vector<int>{5000, 5000, kOwn, kOwn, 5000, 5000}));
  EXPECT_TRUE(Waits().empty()) << "no fixed pause";
  EXPECT_EQ(testing::ReadFileText(users), "mine");
  EXPECT_EQ(dir.Names("myTemp"), std::vector<std::string>{"myTempBmp.bmp"});
}

// A piece that keeps failing ends the transfer; an end request that fails too is noted.
TEST_F(BitmapTransferTest, APieceGivenUpEndsTheTransferAndNotesAFailedEnd) {
  QueueBegin(100);
  EXPECT_FALSE(Fetch(dir.path()));
  EXPECT_TRUE(target.loaded.empty());
  EXPECT_TRUE(Logged("Try to get the data piece failed：0"));
  EXPECT_TRUE(Logged("位图传输‘结束’请求通信失败！"));
  EXPECT_EQ(ui.messages.at(0).text, "Try to refresh the DSO Bitmap failed");
  EXPECT_TRUE(dir.Names("myTemp").empty()) << "the temporary file is removed";
}

TEST_F(BitmapTransferTest, UncreatableTempFileCancelsWithoutAMessage) {
  QueueBegin(100);
  QueueAnswer(OP_BMP_END, Body(4));
  EXPECT_FALSE(Fetch(dir.File("no/such/folder")));
  EXPECT_EQ(Requests(), (std::vector<int>{OP_BMP_BEGIN, OP_BMP_END}));
  EXPECT_TRUE(Logged("NORMAL :创建‘位图’临时文件失败，取消更新‘位图’！"));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(device.busy_indicator().position(), 0);
}

}  // namespace
}  // namespace korvelane
