#include "core/logs/gbk_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace korvelane {
namespace {

// Length of the UTF-8 sequence that starts with `lead`, or 1 for a stray byte.
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8)
    return 4;
  if (lead >= 0xE0)
    return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0)
    return 2;
  return 1;
}

iconv_t OpenConverter() {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    cd = iconv_open("GBK", "UTF-8");
  return cd;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
  iconv_t cd = OpenConverter();
  if (cd == reinterpret_cast<iconv_t>(-1))
    return utf8;

  std::string out;
  out.reserve(utf8.size());
  char* in = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
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
    const size_t skip = std::min(SequenceLength(static_cast<unsigned char>(*in)), in_left);
    out.push_back('?');
    in += skip;
    in_left -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace korvelane
