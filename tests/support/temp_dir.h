// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder removed with everything in it when the object goes.
#pragma once

#include <string>
#include <vector>

namespace korvelane::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // The names of the entries in the folder that begin with `prefix`, sorted.
  std::vector<std::string> Names(const std::string& prefix = "") const;

 private:
  std::string path_;
};

// Whole content of a file, or an empty vector when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
// The lines of `text` ended by `line_end`, without it; what follows the last one is a last line.
std::vector<std::string> SplitLines(const std::string& text, const std::string& line_end);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace korvelane::testing
