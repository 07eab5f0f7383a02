#include "core/files/setting_file.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/files/file_io.h"

namespace korvelane {

SettingFileError ReadSettingFile(const std::string& path, ConfigBlock* block) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return SettingFileError::kCannotOpen;
  if (static_cast<size_t>(st.st_size) != kConfigBlockSize)
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
