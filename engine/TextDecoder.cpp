#include "TextDecoder.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "Utf8.h"
#include "msc.h"

namespace msc {

namespace {

const char* iconvName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Gbk: return "GBK";
    case TextEncoding::Big5: return "BIG5";
    case TextEncoding::Utf16Le: return "UTF-16LE";
    case TextEncoding::Gb18030:
    case TextEncoding::Auto: return "GB18030";
    case TextEncoding::Utf8: break;
  }
  return "UTF-8";
}

// Strict conversion: any invalid or incomplete sequence fails.
bool convert(std::string_view bytes, const char* from, std::string& out) {
  const iconv_t cd = iconv_open("UTF-8", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> buffer(bytes.size() * 4 + 16);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* outPtr = buffer.data();
  std::size_t outLeft = buffer.size();
  const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return false;
  out.assign(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
  return true;
}

}  // namespace

int decodeText(std::string_view bytes, TextEncoding encoding, std::string& utf8) {
  std::string decoded;
  if (encoding == TextEncoding::Utf8 || (encoding == TextEncoding::Auto && isValidUtf8(bytes))) {
    if (!isValidUtf8(bytes)) return MSC_ERROR_TEXT_ENCODING;
    decoded.assign(bytes);
  } else {
    if (encoding == TextEncoding::Utf16Le && bytes.size() % 2 != 0) return MSC_ERROR_TEXT_ENCODING;
    if (!convert(bytes, iconvName(encoding), decoded)) return MSC_ERROR_TEXT_ENCODING;
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (decoded.starts_with(kByteOrderMark)) decoded.erase(0, kByteOrderMark.size());
  std::replace(decoded.begin(), decoded.end(), '\0', ' ');
  utf8 = std::move(decoded);
  return MSC_OK;
}

}  // namespace msc
