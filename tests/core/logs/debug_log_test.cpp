// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/debug_log.h"

#include <gtest/gtest.h>

#include "support/log_world.h"

namespace korvelane {
namespace {

using DebugLogTest = testing::LogWorld;

// The stamp keeps its width at every time: a second line at another moment shows it.
TEST_F(DebugLogTest, LinesAreStampPrefixTextAndCrLfAppendedInCodePage936) {
  const std::string stamp = Utf8ToGbk("20261206-09时05分07秒042毫秒——");
  debug_log.WriteDebugLog("abc", kError);
  debug_log.WriteDebugLog("n", kNormal);
  debug_log.WriteDebugLog("w", kWarning);
  debug_log.WriteDebugLog("f", kFatal);
  debug_log.WriteDebugLog("信息包发送失败", kWarning);
  clock.time = {2027, 1, 2, 23, 59, 58, 7};
  debug_log.WriteDebugLog("", kNormal);

  EXPECT_EQ(testing::ReadFileText(dir.File("BlogFile.txt")),
            stamp + "ERROR  :abc\r\n" + stamp + "NORMAL :n\r\n" + stamp + "WARNING:w\r\n" + stamp +
                "FATAL  :f\r\n" + stamp +
                "WARNING:\xD0\xC5\xCF\xA2\xB0\xFC\xB7\xA2\xCB\xCD\xCA\xA7\xB0\xDC\r\n" +
                Utf8ToGbk("20270102-23时59分58秒007毫秒——NORMAL :\r\n"));
}

TEST_F(DebugLogTest, AnUnwritableFolderFailsSilently) {
  DebugLog log(dir.File("missing/folder"), clock);
  log.WriteDebugLog("abc", kWarning);  // must neither throw nor crash
  EXPECT_FALSE(testing::FileExists(log.debug_log_path()));
}

}  // namespace
}  // namespace korvelane
