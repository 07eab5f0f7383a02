// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its own files (logs, initial path, temporary bitmap): the folder of the
// executable when it is writable, otherwise the per-user data folder.
#pragma once

#include <cstddef>
#include <string>

namespace korvelane {

// Folder of the running executable, without a trailing slash.
std::string ExecutableFolder();

// $XDG_DATA_HOME/Korvelane, or ~/.local/share/Korvelane when XDG_DATA_HOME is unset.
std::string UserDataFolder();

// `executable_folder` when it is writable, else UserDataFolder(), created when missing.
std::string ProgramFolder(const std::string& executable_folder);

// ProgramFolder(ExecutableFolder()).
std::string ProgramFolder();

// Joins a folder and a file name with one "/".
std::string JoinPath(const std::string& folder, const std::string& name);

// The longest path, in characters, that the program opens or creates a file under.
constexpr size_t kMaxPathCharacters = 260;
// True when the UTF-8 `path` has at most kMaxPathCharacters characters.
bool FitsPathLimit(const std::string& path);

}  // namespace korvelane
