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

// A block of letters in which capitals and small letters alternate.
struct CasePairs {
  char32_t first;  // the first capital
  char32_t last;   // the last small letter
};

// Capitals at even code points, their small letters right after them.
constexpr CasePairs kEvenCapitals[] = {
    {0x100, 0x12F},    // Ā .. į; the Turkish İ and ı that follow stay apart
    {0x132, 0x137},    // Ĳ .. ķ
    {0x14A, 0x177},    // Ŋ .. ŷ
    {0x1A0, 0x1A5},    // Ơ .. ƥ (Vietnamese)
    {0x1DE, 0x1EF},    // Ǟ .. ǯ
    {0x1F8, 0x21F},    // Ǹ .. ȟ (Romanian Ș and Ț among them)
    {0x222, 0x233},    // Ȣ .. ȳ
    {0x3D8, 0x3EF},    // archaic and Coptic letters of the Greek block
    {0x460, 0x481},    // Old Cyrillic
    {0x48A, 0x4BF},    // Cyrillic of Ukrainian, Kazakh, Tatar ... (Ґ, Қ, Ұ, Һ)
    {0x4D0, 0x52F},    // Ә, Ө and the other Cyrillic supplement letters
    {0x1E00, 0x1E95},  // Latin Extended Additional
    {0x1EA0, 0x1EFF},  // Vietnamese letters with two marks
};

// Capitals at odd code points.
constexpr CasePairs kOddCapitals[] = {
    {0x139, 0x148},  // Ĺ .. ň
    {0x179, 0x17E},  // Ź .. ž
    {0x1CD, 0x1DC},  // Ǎ .. ǜ (Pinyin)
    {0x4C1, 0x4CE},  // Ӂ .. ӎ
};

char32_t toLower(char32_t c) {
  if (c < 0x80) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  }
  // Latin-1: À..Þ except ×.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
    return c + 0x20;
  }
  if (c >= 0x100) {
    for (const CasePairs& r : kEvenCapitals) {
      if (c >= r.first && c <= r.last) {
        return c | 1;
      }
    }
    for (const CasePairs& r : kOddCapitals) {
      if (c >= r.first && c <= r.last) {
        return (c & 1) ? c + 1 : c;
      }
    }
  }
  switch (c) {
    case 0x178:  // Ÿ
      return 0xFF;
    case 0x1AF:  // Ư
      return 0x1B0;
    // Greek capitals with tonos.
    case 0x386:
      return 0x3AC;
    case 0x388:
    case 0x389:
    case 0x38A:
      return c + 0x25;
    case 0x38C:
      return 0x3CC;
    case 0x38E:
    case 0x38F:
      return c + 0x3F;
    // The final sigma is the same letter as σ.
    case 0x3C2:
      return 0x3C3;
    case 0x4C0:  // Ӏ
      return 0x4CF;
    default:
      break;
  }
  // Greek capitals up to Ϊ and Ϋ (the gap at U+03A2 has no letter).
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
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
