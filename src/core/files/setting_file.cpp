// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/setting_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/files/file_io.h"

namespace korvelane {

SettingFileError ReadSettingFile(const std::string& path, ConfigBlock* block) {
  const int fd = OpenRegularFile(path);
  if (fd < 0)
    return SettingFileError::kCannotOpen;
  struct stat st {};
  const bool sized = fstat(fd, &st) == 0 && static_cast<size_t>(st.st_size) == kConfigBlockSize;
  close(fd);
  if (!sized)
    return SettingFileError::kWrongSize;
  const auto bytes = ReadWholeFile(path, kConfigBlockSize);
  if (!bytes)
    return SettingFileError::kCannotOpen;
  if (bytes->size() != kConfigBlockSize)
    return SettingFileError::kWrongSize;
  std::copy(bytes->begin(), bytes->end(), block->begin());
  return SettingFileError::kNone;
}

bool WriteSettingFile(const std::string& path, const ConfigBlock& block, bool must_be_new) {
  return WriteWholeFile(path, std::vector<uint8_t>(block.begin(), block.end()),
                        must_be_new ? WriteMode::kCreateNew : WriteMode::kReplace);
}

}  // namespace korvelane
