// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/gbk_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace korvelane {
namespace {

TEST(GbkText, ConvertsChineseBothWaysKeepsAsciiAndMarksWhatCannotBeConverted) {
  const std::pair<std::string, std::string> both_ways[] = {
      {"", ""},
      {"——", "\xA1\xAA\xA1\xAA"},
      {"1.5伏", "1.5\xB7\xFC"},
      {"信息包发送失败", "\xD0\xC5\xCF\xA2\xB0\xFC\xB7\xA2\xCB\xCD\xCA\xA7\xB0\xDC"}};

  for (const auto& [utf8, gbk] : both_ways) {
    EXPECT_EQ(Utf8ToGbk(utf8), gbk);
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
  }
  // What has no GBK code becomes "?", a stray GBK byte U+FFFD; the rest is kept.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b失败"),
            "a?b\xCA\xA7\xB0\xDC");
  EXPECT_EQ(Utf8ToGbk("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToGbk("tail\xE4\xBF"), "tail?");
  EXPECT_EQ(GbkToUtf8("a\x81"), "a\uFFFD");
  EXPECT_EQ(GbkToUtf8("\xFF\xB2\xA8"), "\uFFFD波");

  // A long text is converted whole.
  std::string text;
  for (int i = 0; i < 500; ++i)
    text += "失";
  EXPECT_EQ(Utf8ToGbk(text).size(), 1000u);
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text);
}

}  // namespace
}  // namespace korvelane
