// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/gbk_text.h"

#include <gtest/gtest.h>

namespace korvelane {
namespace {

TEST(Utf8ToGbk, ConvertsChineseAndKeepsAscii) {
  EXPECT_EQ(Utf8ToGbk("abc"), "abc");
  // 信息包发送失败
  EXPECT_EQ(Utf8ToGbk("信息包发送失败"),
            "\xD0\xC5\xCF\xA2\xB0\xFC\xB7\xA2\xCB\xCD\xCA\xA7\xB0\xDC");
  EXPECT_EQ(Utf8ToGbk("——"), "\xA1\xAA\xA1\xAA");
  EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(Utf8ToGbk, ReplacesWhatCannotBeConvertedAndKeepsTheRest) {
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b失败"),
            "a?b\xCA\xA7\xB0\xDC");
  EXPECT_EQ(Utf8ToGbk("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToGbk("tail\xE4\xBF"), "tail?");
}

TEST(Utf8ToGbk, LongTextIsConvertedWhole) {
  std::string text;
  for (int i = 0; i < 500; ++i)
    text += "失";
  EXPECT_EQ(Utf8ToGbk(text).size(), 1000u);
}

TEST(GbkToUtf8, DecodesChineseKeepsAsciiAndMarksStrayBytes) {
  EXPECT_EQ(GbkToUtf8("1.5\xB7\xFC"), "1.5伏");
  EXPECT_EQ(GbkToUtf8("abc"), "abc");
  EXPECT_EQ(GbkToUtf8(""), "");
  // A lead byte without its trail byte, and a byte that leads nothing.
  EXPECT_EQ(GbkToUtf8("a\x81"), "a\uFFFD");
  EXPECT_EQ(GbkToUtf8("\xFF\xB2\xA8"), "\uFFFD波");
  const std::string gbk = Utf8ToGbk("信息包发送失败 1.5伏");
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
}

}  // namespace
}  // namespace korvelane
