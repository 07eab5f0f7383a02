// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder, a fixed clock, a recording user interface and both logs (the operate log on
// and started), with the checks most tests make of what was logged.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/logs/debug_log.h"
#include "core/logs/gbk_text.h"
#include "core/logs/operate_log.h"
#include "core/logs/time_stamp.h"
#include "support/fake_user_interface.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace korvelane::testing {

using Strings = std::vector<std::string>;

template <typename Ui = FakeUserInterface>
class LogWorldOf : public ::testing::Test {
 protected:
  LogWorldOf() {
    operate_log.set_operate_log_on(OperateLog::kOn);
    operate_log.Start();
    operations_seen = operate_log.operate_lines().size();
  }

  // Whether the debug log holds `utf8` (in code page 936, as it is written).
  bool Logged(const std::string& utf8) const {
    return ReadFileText(debug_log.debug_log_path()).find(Utf8ToGbk(utf8)) != std::string::npos;
  }
  // Action texts of the operate log since the welcome line or the last Forget.
  Strings Operations() const {
    const size_t stamp = LogTimeStamp(clock.Now()).size();
    Strings texts;
    for (size_t i = operations_seen; i < operate_log.operate_lines().size(); ++i)
      texts.push_back(operate_log.operate_lines()[i].substr(stamp));
    return texts;
  }
  // Starts the records of the user interface and the operate log afresh.
  void Forget() {
    ui = Ui();
    operations_seen = operate_log.operate_lines().size();
  }

  TempDir dir;
  FixedClock clock;
  Ui ui;
  DebugLog debug_log{dir.path(), clock};
  OperateLog operate_log{dir.path(), clock, debug_log, ui};
  size_t operations_seen = 0;
};

using LogWorld = LogWorldOf<>;

}  // namespace korvelane::testing
