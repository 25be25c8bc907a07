#include "posix/iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tessary {

namespace {

// Converts `size` bytes at `in` from one encoding to another; empty on any failure.
std::string Convert(const char* to, const char* from, const char* in, size_t size) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::vector<char> input(in, in + size);
  std::string out(size * 4 + 16, '\0');
  char* inPtr = input.data();
  size_t inLeft = input.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  bool ok = true;
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      if (errno == E2BIG) {
        const size_t used = out.size() - outLeft;
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
        continue;
      }
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return {};
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::u16string IconvCodec::Cp949ToUtf16(std::string_view text) const {
  const std::string bytes = Convert("UTF-16LE", "CP949", text.data(), text.size());
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string IconvCodec::Utf16ToCp949(std::u16string_view text) const {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return Convert("CP949", "UTF-16LE", bytes.data(), bytes.size());
}

}  // namespace tessary
