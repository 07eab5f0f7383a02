// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and writes. A write goes to a temporary file in the same folder and replaces
// the target only once complete, so a failed save never destroys the file that was there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvelane {

// A descriptor, for reading, of the regular file at `path`, or -1: for a path over the limit
// (FitsPathLimit) and for anything but a regular file (a named pipe, a device, a folder),
// which is checked before it is opened, so that opening never blocks.
int OpenRegularFile(const std::string& path);

// The whole content of a regular file (OpenRegularFile), or nothing when it cannot be opened or
// read. Files larger than `max_size` are refused.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path,
                                                  size_t max_size = 64u << 20);

enum class WriteMode {
  kReplace,    // an existing file is replaced
  kCreateNew,  // fails when the file exists
};

// Where the content of a file goes, piece by piece.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when not all the bytes could be written.
  virtual bool Write(const uint8_t* data, size_t size) = 0;
};

// The one writer of whole files: `content` writes the bytes into a new temporary file in the
// folder of `path`, which is flushed to disk and then renamed over `path` (with kCreateNew put
// there only when no file has the name). False when the file was not written: `content` failed
// (it is not called when the temporary file cannot be made), or the file could not be flushed or
// put in its place. Then the file that was there, if any, stays as it was and no temporary file
// is left behind.
bool WriteWholeFile(const std::string& path, const std::function<bool(ByteSink&)>& content,
                    WriteMode mode = WriteMode::kReplace);
// The same with all the bytes at once.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes,
                    WriteMode mode = WriteMode::kReplace);

// True when `path` contains `extension` anywhere (case-sensitive), as the program recognises
// file kinds by name.
bool HasExtension(const std::string& path, const std::string& extension);

}  // namespace korvelane
