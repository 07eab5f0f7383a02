// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between the program's UTF-8 texts and code page 936, the encoding of both log
// files and of the texts in the instrument's records and the wave record and graph files.
#pragma once

#include <string>
#include <string_view>

namespace korvelane {

// Converts UTF-8 to code page 936 (GBK). A character that cannot be converted, or a malformed
// UTF-8 sequence, becomes one '?' and the conversion goes on with the next character.
std::string Utf8ToGbk(const std::string& utf8);

// Converts code page 936 to UTF-8, for display. A byte that starts no character becomes one
// U+FFFD and the conversion goes on with the next byte.
std::string GbkToUtf8(std::string_view gbk);

}  // namespace korvelane
