// SPDX-License-Identifier: GPL-3.0-or-later
// The scope setting file (".ssf"): exactly the 2500 bytes of the instrument's settings block.
#pragma once

#include <string>

#include "core/common/config_block.h"

namespace korvelane {

enum class SettingFileError { kNone, kCannotOpen, kWrongSize };

// Reads a setting file; anything but exactly 2500 bytes is refused and `block` is left alone.
SettingFileError ReadSettingFile(const std::string& path, ConfigBlock* block);

// Writes the block; with `must_be_new` an existing file is refused. False when nothing was
// written.
bool WriteSettingFile(const std::string& path, const ConfigBlock& block, bool must_be_new);

}  // namespace korvelane
