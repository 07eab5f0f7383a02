// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/log_file.h"

#include <cstdio>

#include "core/logs/gbk_text.h"

namespace korvelane {

bool AppendLines(const std::string& path, const std::vector<std::string>& lines, OpenMode mode) {
  if (path.empty())
    return false;
  std::FILE* file = std::fopen(path.c_str(), mode == OpenMode::kCreate ? "ab" : "r+b");
  if (!file)
    return false;
  std::fseek(file, 0, SEEK_END);
  for (const std::string& line : lines) {
    const std::string bytes = Utf8ToGbk(line);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fwrite("\r\n", 1, 2, file);
  }
  std::fclose(file);
  return true;
}

bool TouchFile(const std::string& path) {
  return AppendLines(path, {}, OpenMode::kCreate);
}

}  // namespace korvelane
