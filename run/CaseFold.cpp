#include "run/CaseFold.h"

#include <algorithm>

namespace kelvara::run {
namespace {

// Invalid bytes map into a range no valid character uses (like surrogate escapes).
constexpr char32_t kInvalidByteBase = 0xDC00;

char32_t decodeOne(std::string_view s, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  auto invalid = [&] { return kInvalidByteBase + char32_t(byte(i++)); };
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  size_t len;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return invalid();
  }
  if (i + len > s.size()) {
    return invalid();
  }
  for (size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      return invalid();
    }
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return invalid();
  }
  i += len;
  return cp;
}

char32_t toLower(char32_t c) {
  if (c < 0x80) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  }
  // Latin-1: À..Þ except ×.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
    return c + 0x20;
  }
  // Latin Extended-A: pairs of capital and small letters (the Turkish dotted and dotless i
  // stay apart).
  if (c == 0x130 || c == 0x131) {
    return c;
  }
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return c | 1;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return (c & 1) ? c + 1 : c;
  }
  if (c == 0x178) {  // Ÿ
    return 0xFF;
  }
  // Greek capitals (the gap at U+03A2 has no letter).
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {
    return c + 0x20;
  }
  // Cyrillic.
  if (c >= 0x400 && c <= 0x40F) {
    return c + 0x50;
  }
  if (c >= 0x410 && c <= 0x42F) {
    return c + 0x20;
  }
  return c;
}

}  // namespace

std::u32string foldedCodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    out.push_back(toLower(decodeOne(utf8, i)));
  }
  return out;
}

int compareIgnoreCase(std::string_view a, std::string_view b) {
  const std::u32string fa = foldedCodePoints(a);
  const std::u32string fb = foldedCodePoints(b);
  const int c = fa.compare(fb);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace kelvara::run
