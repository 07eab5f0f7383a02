// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/gbk_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace korvelane {
namespace {

// Length of the UTF-8 sequence that starts with `lead`, or 1 for a stray byte.
size_t Utf8SequenceLength(const char* at, size_t /*left*/) {
  const auto lead = static_cast<unsigned char>(*at);
  if (lead >= 0xF0 && lead < 0xF8)
    return 4;
  if (lead >= 0xE0)
    return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0)
    return 2;
  return 1;
}

// Length of the code page 936 character that starts at `at`: two bytes for a lead byte followed
// by a byte that can trail it, else one.
size_t GbkSequenceLength(const char* at, size_t left) {
  const auto lead = static_cast<unsigned char>(*at);
  if (lead < 0x81 || lead == 0xFF || left < 2)
    return 1;
  const auto trail = static_cast<unsigned char>(at[1]);
  return trail >= 0x40 && trail != 0x7F && trail != 0xFF ? 2 : 1;
}

iconv_t OpenConverter(const char* to, const char* to_fallback, const char* from,
                      const char* from_fallback) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    cd = iconv_open(to_fallback, from_fallback);
  return cd;
}

// Converts `text` with `cd`; a character that cannot be converted becomes `replacement` and the
// conversion goes on after it (`length` tells how long that character is).
std::string Convert(iconv_t cd, std::string_view text, const char* replacement,
                    size_t (*length)(const char*, size_t)) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  char* in = const_cast<char*>(text.data());
  size_t in_left = text.size();
  char buffer[256];
  while (in_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    const size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc != static_cast<size_t>(-1))
      continue;
    if (errno == E2BIG)
      continue;
    // EILSEQ or EINVAL: replace one character and carry on after it.
    const size_t skip = std::min(length(in, in_left), in_left);
    out += replacement;
    in += skip;
    in_left -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
  if (IsAscii(utf8))
    return utf8;
  iconv_t cd = OpenConverter("CP936", "GBK", "UTF-8", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return utf8;
  std::string out = Convert(cd, utf8, "?", Utf8SequenceLength);
  iconv_close(cd);
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk))
    return std::string(gbk);
  iconv_t cd = OpenConverter("UTF-8", "UTF-8", "CP936", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return std::string(gbk);
  std::string out = Convert(cd, gbk, "\xEF\xBF\xBD", GbkSequenceLength);
  iconv_close(cd);
  return out;
}

}  // namespace korvelane
