// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/debug_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/logs/gbk_text.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::FixedClock;
using testing::ReadFileText;
using testing::TempDir;

// The stamp of FixedClock's default time, as written in code page 936.
const std::string kStamp = Utf8ToGbk("20261206-09时05分07秒042毫秒——");

TEST(DebugLog, LinesAreStampPrefixTextAndCrLfAppendedInCodePage936) {
  TempDir dir;
  FixedClock clock;
  DebugLog log(dir.path(), clock);
  log.WriteDebugLog("abc", kError);
  log.WriteDebugLog("n", kNormal);
  log.WriteDebugLog("w", kWarning);
  log.WriteDebugLog("f", kFatal);
  log.WriteDebugLog("信息包发送失败", kWarning);

  ASSERT_EQ(kStamp.size(), 32u);
  EXPECT_EQ(log.debug_log_path(), dir.File("BlogFile.txt"));
  EXPECT_EQ(ReadFileText(dir.File("BlogFile.txt")),
            kStamp + "ERROR  :abc\r\n" + kStamp + "NORMAL :n\r\n" + kStamp + "WARNING:w\r\n" +
                kStamp + "FATAL  :f\r\n" + kStamp +
                "WARNING:\xD0\xC5\xCF\xA2\xB0\xFC\xB7\xA2\xCB\xCD\xCA\xA7\xB0\xDC\r\n");
}

TEST(DebugLog, StampKeepsItsWidthAtEveryTime) {
  TempDir dir;
  FixedClock clock({2027, 1, 2, 23, 59, 58, 7});
  DebugLog log(dir.path(), clock);
  log.WriteDebugLog("", kNormal);
  const std::string text = ReadFileText(log.debug_log_path());
  EXPECT_EQ(text.size(), 32u + 8u + 2u);
  EXPECT_EQ(text.substr(0, 9), "20270102-");
}

TEST(DebugLog, UnwritableFolderFailsSilently) {
  TempDir dir;
  FixedClock clock;
  DebugLog log(dir.File("missing/folder"), clock);
  log.WriteDebugLog("abc", kWarning);  // must neither throw nor crash
  EXPECT_FALSE(testing::FileExists(log.debug_log_path()));
}

}  // namespace
}  // namespace korvelane
