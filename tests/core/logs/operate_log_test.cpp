// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/operate_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "support/log_world.h"

namespace korvelane {
namespace {

using testing::FileExists;
using testing::ReadFileText;

const std::string kStamp = Utf8ToGbk("20261206-09时05分07秒042毫秒——");
const std::string kLatinStamp = Utf8ToGbk("20261206-09H05M07S042ms——");

std::string Line(const std::string& text) {
  return kStamp + text + "\r\n";
}

class OperateLogTest : public testing::LogWorld {
 protected:
  std::string FilePath() const { return dir.File("Operate File.txt"); }
};

TEST_F(OperateLogTest, OffShowsTheTextButBuffersNothingAndLongTextsAreKeptWhole) {
  operate_log.set_operate_log_on(OperateLog::kOff);
  operate_log.RecordOperation("Bind");
  EXPECT_EQ(ui.panes[0], "Bind");
  operate_log.set_operate_log_on(OperateLog::kOn);
  const std::string long_text(400, 'L');
  operate_log.RecordOperation(long_text);
  operate_log.FlushOnExit();
  EXPECT_EQ(ReadFileText(FilePath()), Line("Welcome use Korvelane 2.0") + Line(long_text));
}

// Ten lines are buffered; the eleventh action and every switch or exit write them out. What
// cannot be written at exit or by an action is shown.
TEST_F(OperateLogTest, BufferedLinesReachTheFileWhenTheyAreTenOrTheLogIsSwitchedOrClosed) {
  enum class Then { kNothing, kSwitch, kSwitchWhileOff, kExit, kExitWhileOff, kNoFolder };
  const std::string welcome = Line("Welcome use Korvelane 2.0");
  const auto xs = [](int n) {  // the lines of actions a1..an, in their order
    std::string text;
    for (int i = 1; i <= n; ++i)
      text += Line("a" + std::to_string(i));
    return text;
  };
  const std::string off_line = "Not save Operate File\r\n";
  const struct {
    int actions;  // after the welcome line
    Then then;
    bool file_removed;
    std::optional<std::string> file;  // nullopt: the file is not there
    int buffered;
    size_t messages;
  } cases[] = {
      {0, Then::kNothing, false, "", 1, 0},
      {9, Then::kNothing, false, "", 10, 0},
      {10, Then::kNothing, false, welcome + xs(10), 0, 0},
      {2, Then::kSwitch, false, welcome + xs(2) + kStamp + off_line, 0, 0},
      // The switch's own line is the eleventh: it is stamped in Latin letters.
      {9, Then::kSwitch, false, welcome + xs(9) + kLatinStamp + off_line, 0, 0},
      // Switching off never creates the file: the lines and the switch's own stay buffered.
      {1, Then::kSwitch, true, std::nullopt, 3, 0},
      // Switched on again ("Default Setting" kept the lines): they are written, without its line.
      {9, Then::kSwitchWhileOff, false, welcome + xs(9), 0, 0},
      {1, Then::kExitWhileOff, false, welcome + xs(1), 0, 0},
      {0, Then::kExit, true, std::nullopt, 1, 1},
      // The eleventh action that cannot be written is dropped; the ten lines stay.
      {10, Then::kNoFolder, false, std::nullopt, 10, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
    testing::TempDir world;
    testing::FakeUserInterface shown;
    DebugLog debug_log(world.path(), clock);
    OperateLog each(world.File(c.then == Then::kNoFolder ? "gone" : ""), clock, debug_log, shown);
    each.set_operate_log_on(OperateLog::kOn);
    each.Start();
    for (int i = 1; i <= c.actions; ++i)
      each.RecordOperation("a" + std::to_string(i));
    const std::string path = world.File("Operate File.txt");
    if (c.file_removed)
      std::remove(path.c_str());
    if (c.then == Then::kSwitchWhileOff || c.then == Then::kExitWhileOff)
      each.set_operate_log_on(OperateLog::kOff);
    if (c.then == Then::kSwitch || c.then == Then::kSwitchWhileOff)
      each.ToggleOperateFile();
    if (c.then == Then::kExit || c.then == Then::kExitWhileOff)
      each.FlushOnExit();
    EXPECT_EQ(FileExists(path) ? std::optional<std::string>(ReadFileText(path)) : std::nullopt,
              c.file);
    EXPECT_EQ(each.operate_line_count(), c.buffered);
    EXPECT_EQ(shown.messages.size(), c.messages);
  }
}

TEST_F(OperateLogTest, SwitchingShowsItsTextAndFailuresAreReportedWhereTheyHappen) {
  std::remove(FilePath().c_str());
  OperateLog log(dir.path(), clock, debug_log, ui);
  log.ToggleOperateFile();  // the first switch on creates the file and buffers its line
  EXPECT_EQ(ui.panes[0], "Select save Operate File");
  EXPECT_TRUE(FileExists(FilePath()));
  EXPECT_EQ(log.operate_lines(),
            testing::Strings{"20261206-09时05分07秒042毫秒——Select save Operate File"});
  std::remove(FilePath().c_str());
  log.ToggleOperateFile();  // off: the failure goes to the debug log alone
  EXPECT_EQ(ui.panes[0], "Not save Operate File");
  EXPECT_TRUE(Logged("打开操作记录文件失败"));
  EXPECT_TRUE(ui.messages.empty());
  log.FlushOnExit();  // at exit the failure is shown
  EXPECT_EQ(ui.messages, (std::vector<testing::MessageRecord>{
                             {"Try to open Operate File failed!", "Error", MessageIcon::kNone}}));
  EXPECT_EQ(ui.lamp_refreshes, 1);
}

}  // namespace
}  // namespace korvelane
