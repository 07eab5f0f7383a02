// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace korvelane {
namespace {

bool IsWritableFolder(const std::string& folder) {
  struct stat st {};
  return !folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         access(folder.c_str(), W_OK | X_OK) == 0;
}

// mkdir -p; returns false when the folder does not exist afterwards.
bool MakeFolders(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos == folder.size() || folder[pos] == '/') {
      const std::string part = folder.substr(0, pos);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    }
  }
  struct stat st {};
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ExecutableFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0)
    return ".";
  std::string exe(path, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : exe.substr(0, slash));
}

std::string UserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : "/tmp") + "/.local/share";
  }
  return JoinPath(base, "Korvelane");
}

std::string ProgramFolder(const std::string& executable_folder) {
  if (IsWritableFolder(executable_folder))
    return executable_folder;
  const std::string data = UserDataFolder();
  MakeFolders(data);
  return data;
}

std::string ProgramFolder() {
  return ProgramFolder(ExecutableFolder());
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty())
    return name;
  if (folder.back() == '/')
    return folder + name;
  return folder + "/" + name;
}

bool FitsPathLimit(const std::string& path) {
  // Characters are counted by the bytes that start one.
  size_t characters = 0;
  for (const char c : path)
    characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return characters <= kMaxPathCharacters;
}

}  // namespace korvelane
