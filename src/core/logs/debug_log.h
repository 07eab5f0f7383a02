// SPDX-License-Identifier: GPL-3.0-or-later
// The debug log "BlogFile.txt": one stamped line per failure or notable event.
#pragma once

#include <string>

#include "core/common/clock.h"

namespace korvelane {

enum LogLevel { kNormal = 0, kWarning = 1, kError = 2, kFatal = 3 };

class DebugLog {
 public:
  static constexpr const char* kFileName = "BlogFile.txt";

  // `folder` is the program's folder; the file is `folder`/BlogFile.txt.
  DebugLog(const std::string& folder, const Clock& clock);

  // Appends stamp, level prefix, text and CR LF; failures to open the file pass silently.
  void WriteDebugLog(const std::string& text, int level);

  const std::string& debug_log_path() const { return debug_log_path_; }

  // The eight-character prefix of a level; levels outside 0..3 use the NORMAL prefix.
  static const char* LevelPrefix(int level);

 private:
  std::string debug_log_path_;
  const Clock& clock_;
};

}  // namespace korvelane
