// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmap files on disk: reading one into a picture and writing a picture as a 24-bit file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/files/bitmap_codec.h"
#include "core/files/file_io.h"

namespace korvelane {

// Decodes the bitmap file at `path`, reading only what its headers describe. On failure `out`
// is left as it was.
BitmapError ReadBitmapFile(const std::string& path, DecodedBitmap& out);

enum class BitmapWriteResult {
  kOk,
  kCreateFailed,      // the file cannot be created, flushed or put in its place
  kFileHeaderFailed,  // writing the 14-byte file header failed
  kInfoHeaderFailed,  // writing the 40-byte information header failed
  kPixelsFailed,      // writing the pixel rows failed, or no picture
};

// Writes the file header, the information header and the padded pixel rows, in that order.
BitmapWriteResult WriteBitmap(const DecodedBitmap& picture, ByteSink& sink);

// Writes the picture as the file `path` through WriteWholeFile: on failure an existing file stays
// as it was.
BitmapWriteResult WriteBitmapFile(const std::string& path, const DecodedBitmap& picture);

}  // namespace korvelane
