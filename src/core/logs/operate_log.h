// SPDX-License-Identifier: GPL-3.0-or-later
// The operate log "Operate File.txt": the user's actions, buffered ten at a time.
#pragma once

#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/common/user_interface.h"
#include "core/logs/debug_log.h"

namespace korvelane {

class OperateLog {
 public:
  static constexpr const char* kFileName = "Operate File.txt";
  static constexpr int kOn = 8;
  static constexpr int kOff = 0;
  static constexpr int kSlots = 10;

  OperateLog(const std::string& folder, const Clock& clock, DebugLog& debug_log, UserInterface& ui);

  // Shows the action text in status pane 0 and, while the log is on, buffers it; the eleventh
  // action writes the ten buffered lines and itself.
  void RecordOperation(const std::string& text);

  // Start at main-frame creation; does nothing unless the log is on.
  void Start();

  // The "Operate File" command: flips the log on or off.
  void ToggleOperateFile();

  // Writes the buffered lines at exit, whether the log is on or off.
  void FlushOnExit();

  // Sets the state without any other effect (settings load, "Default Setting").
  void set_operate_log_on(int value) { operate_log_on_ = value; }
  int operate_log_on() const { return operate_log_on_; }
  bool is_on() const { return operate_log_on_ == kOn; }

  int operate_line_count() const { return static_cast<int>(operate_lines_.size()); }
  const std::vector<std::string>& operate_lines() const { return operate_lines_; }
  const std::string& operate_log_path() const { return operate_log_path_; }

 private:
  void Buffer(const std::string& text);
  void SetPathAndTouch();
  void ReportOpenFailure();

  std::string file_path_;         // where the file lives
  std::string operate_log_path_;  // empty until the log has been on
  int operate_log_on_ = kOff;
  std::vector<std::string> operate_lines_;  // stamp + text, without line end
  const Clock& clock_;
  DebugLog& debug_log_;
  UserInterface& ui_;
};

}  // namespace korvelane
