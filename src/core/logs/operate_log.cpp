// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/operate_log.h"

#include "core/common/program_folder.h"
#include "core/logs/log_file.h"
#include "core/logs/time_stamp.h"

namespace korvelane {
namespace {
constexpr const char* kOpenFailedLog = "打开操作记录文件失败";
constexpr const char* kOpenFailedBox = "Try to open Operate File failed!";
}  // namespace

OperateLog::OperateLog(const std::string& folder, const Clock& clock, DebugLog& debug_log,
                       UserInterface& ui)
    : file_path_(JoinPath(folder, kFileName)), clock_(clock), debug_log_(debug_log), ui_(ui) {
  operate_lines_.reserve(kSlots);
}

void OperateLog::Buffer(const std::string& text) {
  operate_lines_.push_back(LogTimeStamp(clock_.Now()) + text);
}

void OperateLog::SetPathAndTouch() {
  operate_log_path_ = file_path_;
  if (!TouchFile(operate_log_path_))
    debug_log_.WriteDebugLog(kOpenFailedLog, kWarning);
}

void OperateLog::ReportOpenFailure() {
  debug_log_.WriteDebugLog(kOpenFailedLog, kWarning);
  ui_.ShowMessage(kOpenFailedBox, "Error", MessageIcon::kNone);
  ui_.RefreshMenuLamps();
}

void OperateLog::RecordOperation(const std::string& text) {
  ui_.SetPaneText(0, text);
  if (operate_log_on_ != kOn)
    return;
  if (operate_line_count() < kSlots) {
    Buffer(text);
    return;
  }
  std::vector<std::string> lines = operate_lines_;
  lines.push_back(LogTimeStamp(clock_.Now()) + text);
  if (!AppendLines(operate_log_path_, lines, OpenMode::kCreate)) {
    ReportOpenFailure();
    return;
  }
  operate_lines_.clear();
}

void OperateLog::Start() {
  if (operate_log_on_ != kOn)
    return;
  operate_lines_.clear();
  Buffer("Welcome use Korvelane 2.0");
  SetPathAndTouch();
}

void OperateLog::ToggleOperateFile() {
  operate_log_on_ = operate_log_on_ == kOn ? kOff : kOn;
  const bool on = operate_log_on_ == kOn;
  ui_.SetPaneText(0, on ? "Select save Operate File" : "Not save Operate File");

  if (on) {
    if (operate_lines_.empty() && operate_log_path_.empty())
      SetPathAndTouch();
    if (operate_line_count() == kSlots) {
      if (!AppendLines(operate_log_path_, operate_lines_, OpenMode::kCreate)) {
        debug_log_.WriteDebugLog(kOpenFailedLog, kWarning);
        return;
      }
      operate_lines_.clear();
      return;
    }
    Buffer("Select save Operate File");
    return;
  }

  const bool was_full = operate_line_count() >= kSlots;
  if (!was_full)
    Buffer("Not save Operate File");
  std::vector<std::string> lines = operate_lines_;
  if (was_full)
    lines.push_back(LogTimeStampLatin(clock_.Now()) + "Not save Operate File");
  if (!AppendLines(operate_log_path_, lines, OpenMode::kMustExist)) {
    debug_log_.WriteDebugLog(kOpenFailedLog, kWarning);
    return;
  }
  operate_lines_.clear();
}

void OperateLog::FlushOnExit() {
  if (operate_lines_.empty())
    return;
  if (!AppendLines(operate_log_path_, operate_lines_, OpenMode::kMustExist)) {
    ReportOpenFailure();
    return;
  }
  operate_lines_.clear();
}

}  // namespace korvelane
