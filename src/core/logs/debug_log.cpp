// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/debug_log.h"

#include "core/common/program_folder.h"
#include "core/logs/log_file.h"
#include "core/logs/time_stamp.h"

namespace korvelane {

DebugLog::DebugLog(const std::string& folder, const Clock& clock)
    : debug_log_path_(JoinPath(folder, kFileName)), clock_(clock) {}

const char* DebugLog::LevelPrefix(int level) {
  switch (level) {
    case kWarning:
      return "WARNING:";
    case kError:
      return "ERROR  :";
    case kFatal:
      return "FATAL  :";
    default:
      return "NORMAL :";
  }
}

void DebugLog::WriteDebugLog(const std::string& text, int level) {
  AppendLines(debug_log_path_, {LogTimeStamp(clock_.Now()) + LevelPrefix(level) + text},
              OpenMode::kCreate);
}

}  // namespace korvelane
