#include "word/lo/SpellingTokens.h"

#include <cstdint>

namespace kelvara::word::lo {
namespace {

enum class Kind { Other, Letter, Mark, Digit, Joiner, Space };

struct Range {
  char32_t first;
  char32_t last;
  Script script;
};

// Letters by block. Approximate (a few symbols of these blocks count as letters), but enough
// to find words; the dictionary judges them.
constexpr Range kLetterRanges[] = {
    {0x00C0, 0x024F, Script::Western},    // Latin-1 letters, Latin Extended A and B
    {0x0250, 0x02AF, Script::Western},    // IPA
    {0x0370, 0x03FF, Script::Western},    // Greek
    {0x0400, 0x052F, Script::Western},    // Cyrillic
    {0x0531, 0x058F, Script::Western},    // Armenian
    {0x05D0, 0x05F2, Script::Complex},    // Hebrew
    {0x0620, 0x064A, Script::Complex},    // Arabic
    {0x066E, 0x06FF, Script::Complex},    // Arabic
    {0x0700, 0x07BF, Script::Complex},    // Syriac, Thaana
    {0x0900, 0x0DFF, Script::Complex},    // Indic scripts
    {0x0E00, 0x0EFF, Script::Complex},    // Thai, Lao
    {0x0F00, 0x0FFF, Script::Complex},    // Tibetan
    {0x1000, 0x109F, Script::Complex},    // Myanmar
    {0x10A0, 0x10FF, Script::Western},    // Georgian
    {0x1100, 0x11FF, Script::Asian},      // Hangul Jamo
    {0x1780, 0x17FF, Script::Complex},    // Khmer
    {0x1E00, 0x1FFF, Script::Western},    // Latin Extended Additional, Greek Extended
    {0x3040, 0x30FF, Script::Unchecked},  // Hiragana, Katakana
    {0x3400, 0x4DBF, Script::Unchecked},  // CJK Extension A
    {0x4E00, 0x9FFF, Script::Unchecked},  // CJK ideographs
    {0xAC00, 0xD7AF, Script::Asian},      // Hangul syllables
    {0xF900, 0xFAFF, Script::Unchecked},  // CJK compatibility ideographs
    {0xFB1D, 0xFB4F, Script::Complex},    // Hebrew presentation forms
    {0xFB50, 0xFDFF, Script::Complex},    // Arabic presentation forms A
    {0xFE70, 0xFEFF, Script::Complex},    // Arabic presentation forms B
    {0x20000, 0x2FFFF, Script::Unchecked},
};

bool isLetter(char32_t c, Script* script) {
  *script = Script::Western;
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == 0xAA || c == 0xB5 || c == 0xBA) {
    return true;
  }
  if (c == 0xD7 || c == 0xF7) {  // multiplication and division signs
    return false;
  }
  for (const Range& range : kLetterRanges) {
    if (c >= range.first && c <= range.last) {
      *script = range.script;
      return true;
    }
  }
  return false;
}

Kind kindOf(char32_t c, Script* script) {
  if (isLetter(c, script)) {
    return Kind::Letter;
  }
  if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x064B && c <= 0x065F) || c == 0x00AD || c == 0x200C ||
      c == 0x200D) {
    return Kind::Mark;  // combining marks, Arabic vowel signs, soft hyphen, joiners
  }
  if (c >= '0' && c <= '9') {
    return Kind::Digit;
  }
  if (c == '\'' || c == 0x2019 || c == '-' || c == 0x2010 || c == 0x2011) {
    return Kind::Joiner;
  }
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0x0B || c == 0x0C || c == 0xA0 ||
      c == 0x2028 || c == 0x2029 || (c >= 0x2000 && c <= 0x200B) || c == 0x3000) {
    return Kind::Space;
  }
  return Kind::Other;
}

bool isLowercase(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7) ||
         (c >= 0x0100 && c <= 0x017F && (c & 1) == 1) || (c >= 0x03AC && c <= 0x03CE) ||
         (c >= 0x0430 && c <= 0x045F);
}

bool isUppercase(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
         (c >= 0x0100 && c <= 0x017F && (c & 1) == 0) || (c >= 0x0388 && c <= 0x03AB) ||
         (c >= 0x0400 && c <= 0x042F);
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

struct CodePoint {
  char32_t value;
  size_t offset;
};

std::vector<CodePoint> codePoints(const std::u16string& text) {
  std::vector<CodePoint> out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    const size_t at = i;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back({c, at});
  }
  return out;
}

// A blank-separated chunk that is a web or mail address: its parts are not words.
bool looksLikeAddress(const std::vector<CodePoint>& points, size_t begin, size_t end) {
  std::u32string chunk;
  for (size_t i = begin; i < end; ++i) {
    chunk += points[i].value;
  }
  return chunk.find(U"://") != std::u32string::npos || chunk.find(U"www.") == 0 ||
         chunk.find(U'@') != std::u32string::npos;
}

}  // namespace

std::vector<SpellingToken> spellingTokens(const std::u16string& text) {
  const std::vector<CodePoint> points = codePoints(text);
  std::vector<SpellingToken> tokens;
  size_t chunkBegin = 0;
  bool inAddress = false;
  size_t i = 0;
  while (i < points.size()) {
    Script script;
    Kind kind = kindOf(points[i].value, &script);
    if (kind == Kind::Space) {
      ++i;
      chunkBegin = i;
      continue;
    }
    if (i == chunkBegin) {
      size_t chunkEnd = i;
      Script ignored;
      while (chunkEnd < points.size() && kindOf(points[chunkEnd].value, &ignored) != Kind::Space) {
        ++chunkEnd;
      }
      inAddress = looksLikeAddress(points, i, chunkEnd);
    }
    if (kind != Kind::Letter && kind != Kind::Digit) {
      ++i;
      continue;
    }
    // A word: letters, digits and marks, with single joiners between them.
    const size_t begin = i;
    const Script wordScript = script;
    bool digits = false;
    bool lower = false;
    bool upper = false;
    std::string word;
    while (i < points.size()) {
      Script s;
      kind = kindOf(points[i].value, &s);
      if (kind == Kind::Joiner) {
        Script next;
        const bool joins =
            i + 1 < points.size() && (kindOf(points[i + 1].value, &next) == Kind::Letter ||
                                      kindOf(points[i + 1].value, &next) == Kind::Digit);
        if (!joins) {
          break;
        }
        appendUtf8(word, points[i].value == 0x2019 ? U'\'' : points[i].value);
        ++i;
        continue;
      }
      if (kind != Kind::Letter && kind != Kind::Digit && kind != Kind::Mark) {
        break;
      }
      digits = digits || kind == Kind::Digit;
      lower = lower || isLowercase(points[i].value);
      upper = upper || isUppercase(points[i].value);
      if (points[i].value != 0x00AD) {
        appendUtf8(word, points[i].value);
      }
      ++i;
    }
    const bool capitalsOnly = upper && !lower;
    if (!inAddress && !digits && !capitalsOnly) {
      tokens.push_back({points[begin].offset, std::move(word), wordScript});
    }
  }
  return tokens;
}

}  // namespace kelvara::word::lo
