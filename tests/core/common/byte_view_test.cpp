// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/byte_view.h"

#include <gtest/gtest.h>

namespace korvelane {
namespace {

TEST(ByteView, BigEndianReadsAndWritesAndZeroPastTheEnd) {
  const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0xFF, 0x3F, 0x80, 0x00, 0x00};
  const ByteView view(bytes, sizeof bytes);
  EXPECT_EQ(view.U32BE(0), 0x12345678u);
  EXPECT_EQ(view.S8(4), -1);
  EXPECT_FLOAT_EQ(view.F32BE(5), 1.0f);
  EXPECT_EQ(view.U8(9), 0);
  EXPECT_EQ(view.U32BE(7), 0u);             // straddles the end: missing bytes read as zero
  EXPECT_EQ(view.U32BE(SIZE_MAX - 1), 0u);  // no overflow of the offset
  EXPECT_EQ(view.Sub(20).size(), 0u);
  EXPECT_EQ(view.Sub(4).U8(0), 0xFF);
  uint8_t out[4] = {9, 9, 9, 9};
  view.CopyTo(7, out, 4);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[3], 0);

  uint8_t written[8];
  PutU32BE(written, 0xA1B2C3D4);
  PutF32BE(written + 4, -2.5f);
  EXPECT_EQ(ByteView(written, 8).U32BE(0), 0xA1B2C3D4u);
  EXPECT_EQ(ByteView(written, 8).F32BE(4), -2.5f);
}

}  // namespace
}  // namespace korvelane
