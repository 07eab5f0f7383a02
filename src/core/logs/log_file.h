// SPDX-License-Identifier: GPL-3.0-or-later
// Appending lines to a log file in code page 936 with CR LF line ends.
#pragma once

#include <string>
#include <vector>

namespace korvelane {

enum class OpenMode {
  kCreate,     // create the file when it is missing
  kMustExist,  // fail when the file is missing
};

// Converts each UTF-8 line to code page 936 and appends it with CR LF. Returns false when the
// file cannot be opened; nothing is written then.
bool AppendLines(const std::string& path, const std::vector<std::string>& lines, OpenMode mode);

// Creates the file when missing and leaves its content; false when it cannot be opened.
bool TouchFile(const std::string& path);

}  // namespace korvelane
