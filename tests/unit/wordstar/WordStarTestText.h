#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "wordstar/Decoder.h"

namespace kelvara::wordstar::testing {

inline std::string utf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
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
  return out;
}

// Bytes with NULs, which a string literal would cut.
inline std::string bytes(const char* data, size_t size) {
  return std::string(data, size);
}

// The body paragraphs of all sections as UTF-8; empty with the error added when decoding
// failed.
inline std::vector<std::string> bodyTexts(std::string_view file, std::string* error = nullptr) {
  const DecodeResult result = decodeWordStar(file);
  std::vector<std::string> texts;
  if (!result.document) {
    if (error) {
      *error = result.error;
    }
    return texts;
  }
  for (const Section& section : result.document->sections) {
    for (const Paragraph& p : section.body) {
      texts.push_back(utf8(plainText(p)));
    }
  }
  return texts;
}

// The one paragraph of a one-paragraph file.
inline Paragraph onlyParagraph(std::string_view file) {
  const DecodeResult result = decodeWordStar(file);
  if (!result.document || result.document->sections.size() != 1 ||
      result.document->sections[0].body.size() != 1) {
    return {};
  }
  return result.document->sections[0].body[0];
}

// The formatting of each character of a paragraph, as a string of attribute sets.
inline std::vector<uint16_t> attrsOf(const Paragraph& paragraph) {
  std::vector<uint16_t> attrs;
  for (const Cell& c : paragraph.cells) {
    attrs.push_back(c.attrs);
  }
  return attrs;
}

}  // namespace kelvara::wordstar::testing
