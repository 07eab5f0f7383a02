// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/operate_log.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/logs/gbk_text.h"
#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using testing::FakeUserInterface;
using testing::FileExists;
using testing::FixedClock;
using testing::ReadFileText;
using testing::TempDir;

const std::string kStamp = Utf8ToGbk("20261206-09时05分07秒042毫秒——");
const std::string kLatinStamp = Utf8ToGbk("20261206-09H05M07S042ms——");

std::string Line(const std::string& text) {
  return kStamp + text + "\r\n";
}

class OperateLogTest : public ::testing::Test {
 protected:
  std::string FilePath() const { return dir.File("Operate File.txt"); }
  std::string FileText() const { return ReadFileText(FilePath()); }
  std::string DebugText() const { return ReadFileText(dir.File("BlogFile.txt")); }

  // Switches the log on as at start with the "Welcome" line buffered, then records "x" `actions`
  // times.
  void StartOn(int actions = 0) {
    log.set_operate_log_on(OperateLog::kOn);
    log.Start();
    for (int i = 0; i < actions; ++i)
      log.RecordOperation("x");
  }

  TempDir dir;
  FixedClock clock;
  FakeUserInterface ui;
  DebugLog debug{dir.path(), clock};
  OperateLog log{dir.path(), clock, debug, ui};
};

TEST_F(OperateLogTest, OffShowsTheTextButBuffersNothing) {
  log.RecordOperation("Bind");
  EXPECT_EQ(ui.panes[0], "Bind");
  EXPECT_EQ(log.operate_line_count(), 0);
  EXPECT_FALSE(FileExists(FilePath()));
}

TEST_F(OperateLogTest, StartBuffersWelcomeAndCreatesTheFile) {
  StartOn();
  EXPECT_EQ(log.operate_line_count(), 1);
  EXPECT_EQ(log.operate_lines()[0], "20261206-09时05分07秒042毫秒——Welcome use Korvelane 2.0");
  EXPECT_TRUE(FileExists(FilePath()));
  EXPECT_EQ(FileText(), "");
}

TEST_F(OperateLogTest, EleventhActionWritesTenLinesAndItself) {
  StartOn();
  for (int i = 1; i <= 9; ++i)
    log.RecordOperation("a" + std::to_string(i));
  EXPECT_EQ(log.operate_line_count(), 10);
  EXPECT_EQ(FileText(), "");

  log.RecordOperation("eleventh");
  std::string expected = Line("Welcome use Korvelane 2.0");
  for (int i = 1; i <= 9; ++i)
    expected += Line("a" + std::to_string(i));
  expected += Line("eleventh");
  EXPECT_EQ(FileText(), expected);
  EXPECT_EQ(log.operate_line_count(), 0);
}

TEST_F(OperateLogTest, SwitchingOffWithThreeLinesWritesFour) {
  StartOn();
  log.RecordOperation("one");
  log.RecordOperation("two");
  log.ToggleOperateFile();
  EXPECT_FALSE(log.is_on());
  EXPECT_EQ(ui.panes[0], "Not save Operate File");
  EXPECT_EQ(FileText(), Line("Welcome use Korvelane 2.0") + Line("one") + Line("two") +
                            Line("Not save Operate File"));
  EXPECT_EQ(log.operate_line_count(), 0);
}

TEST_F(OperateLogTest, SwitchingOffWithTenLinesWritesTheLatinStampedLine) {
  StartOn(9);
  log.ToggleOperateFile();
  std::string expected = Line("Welcome use Korvelane 2.0");
  for (int i = 1; i <= 9; ++i)
    expected += Line("x");
  EXPECT_EQ(FileText(), expected + kLatinStamp + "Not save Operate File\r\n");
  EXPECT_EQ(log.operate_line_count(), 0);
}

TEST_F(OperateLogTest, SwitchingOffDoesNotCreateTheFile) {
  StartOn(1);
  std::remove(FilePath().c_str());
  log.ToggleOperateFile();
  EXPECT_FALSE(FileExists(FilePath()));
  EXPECT_EQ(log.operate_line_count(), 3);  // the lines and "Not save Operate File" stay
  EXPECT_NE(DebugText().find(Utf8ToGbk("打开操作记录文件失败")), std::string::npos);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OperateLogTest, FirstSwitchOnCreatesTheFileAndBuffersItsLine) {
  log.ToggleOperateFile();
  EXPECT_TRUE(log.is_on());
  EXPECT_EQ(ui.panes[0], "Select save Operate File");
  EXPECT_TRUE(FileExists(FilePath()));
  ASSERT_EQ(log.operate_line_count(), 1);
  EXPECT_EQ(log.operate_lines()[0], "20261206-09时05分07秒042毫秒——Select save Operate File");
}

TEST_F(OperateLogTest, SwitchOnWithTenLinesWritesThemWithoutItsOwnLine) {
  StartOn(9);
  log.set_operate_log_on(OperateLog::kOff);  // "Default Setting" keeps the lines
  log.ToggleOperateFile();
  EXPECT_EQ(log.operate_line_count(), 0);
  EXPECT_EQ(FileText().find("Select save"), std::string::npos);
  EXPECT_NE(FileText().find("Welcome"), std::string::npos);
}

TEST_F(OperateLogTest, ExitFlushWritesBufferedLinesEvenWhenOff) {
  StartOn(1);
  log.set_operate_log_on(OperateLog::kOff);
  log.FlushOnExit();
  EXPECT_EQ(FileText(), Line("Welcome use Korvelane 2.0") + Line("x"));
  EXPECT_EQ(log.operate_line_count(), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OperateLogTest, ExitFlushFailureShowsTheBoxAndGoesOn) {
  StartOn();
  std::remove(FilePath().c_str());
  log.FlushOnExit();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], (testing::MessageRecord{"Try to open Operate File failed!", "Error",
                                                    MessageIcon::kNone}));
  EXPECT_EQ(ui.lamp_refreshes, 1);
  EXPECT_EQ(log.operate_line_count(), 1);
}

TEST_F(OperateLogTest, RecordFailureKeepsTheTenLinesAndDropsTheAction) {
  OperateLog unwritable(dir.File("no/such/folder"), clock, debug, ui);
  unwritable.set_operate_log_on(OperateLog::kOn);
  unwritable.Start();
  for (int i = 1; i <= 9; ++i)
    unwritable.RecordOperation("x");
  unwritable.RecordOperation("lost");
  EXPECT_EQ(unwritable.operate_line_count(), 10);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Try to open Operate File failed!");
  EXPECT_EQ(ui.panes[0], "lost");
}

TEST_F(OperateLogTest, LongActionTextsAreKeptWhole) {
  StartOn();
  const std::string long_text(400, 'L');
  log.RecordOperation(long_text);
  log.ToggleOperateFile();
  EXPECT_NE(FileText().find(kStamp + long_text + "\r\n"), std::string::npos);
}

}  // namespace
}  // namespace korvelane
