// Conversion of the program's UTF-8 texts to code page 936, the encoding of both log files.
#pragma once

#include <string>

namespace korvelane {

// Converts UTF-8 to code page 936 (GBK). A character that cannot be converted, or a malformed
// UTF-8 sequence, becomes one '?' and the conversion goes on with the next character.
std::string Utf8ToGbk(const std::string& utf8);

}  // namespace korvelane
