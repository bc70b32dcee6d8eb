#include "SourceText.h"

#include <cctype>
#include <set>
#include <vector>

#include "EngineTestSupport.h"

namespace kelvara::word::testing {
namespace {

bool startsWith(const std::string& data, const std::string& prefix) {
  return data.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The character data of XML markup, each element's apart, with the common entities decoded.
std::string markupText(const std::string& xml) {
  std::string out;
  bool inTag = false;
  for (size_t i = 0; i < xml.size(); ++i) {
    const char c = xml[i];
    if (c == '<') {
      inTag = true;
      out += ' ';
    } else if (c == '>') {
      inTag = false;
    } else if (!inTag) {
      out += c;
    }
  }
  std::string decoded;
  for (size_t i = 0; i < out.size(); ++i) {
    static const std::vector<std::pair<std::string, char>> kEntities = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (out.compare(i, entity.size(), entity) == 0) {
        decoded += character;
        i += entity.size() - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      decoded += out[i];
    }
  }
  return decoded;
}

// The bytes as text: as they stand, and read as UTF-16 from both alignments (characters
// outside ASCII become blanks, which is enough to find words).
std::string bytesAsText(const std::string& data) {
  std::string out = data;
  for (size_t start = 0; start < 2; ++start) {
    out += '\n';
    for (size_t i = start; i + 1 < data.size(); i += 2) {
      const auto low = static_cast<unsigned char>(data[i]);
      out += data[i + 1] == '\0' && low >= 0x20 && low < 0x7F ? static_cast<char>(low) : ' ';
    }
  }
  return out;
}

uint32_t littleEndian(const std::string& data, size_t offset, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(data[offset + static_cast<size_t>(i)]);
  }
  return value;
}

bool hasLetters(const std::string& text) {
  size_t run = 0;
  for (unsigned char c : text) {
    run = std::isalpha(c) ? run + 1 : 0;
    if (run >= 2) {
      return true;
    }
  }
  return false;
}

// Words of four or more ASCII letters.
std::set<std::string> wordsOf(const std::string& text) {
  std::set<std::string> words;
  std::string word;
  for (size_t i = 0; i <= text.size(); ++i) {
    const auto c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
    if (c < 0x80 && std::isalpha(c)) {
      word += static_cast<char>(c);
      continue;
    }
    if (word.size() >= 4 && c < 0x80) {
      words.insert(word);
    }
    word.clear();
  }
  return words;
}

}  // namespace

SourceText sourceTextOf(TestOffice& office, const std::string& path) {
  const std::string data = readFile(path);
  SourceText source;
  if (startsWith(data, "PK\x03\x04")) {
    for (const auto& name : office.zipEntryNames(path)) {
      if (endsWith(name, ".xml")) {
        source.searchable += markupText(office.zipEntry(path, name).value_or("")) + "\n";
      }
    }
    if (const auto main = office.zipEntry(path, "word/document.xml")) {
      source.hasBodyText = hasLetters(markupText(*main));
    } else if (const auto content = office.zipEntry(path, "content.xml")) {
      source.hasBodyText = hasLetters(markupText(*content));
    }
    return source;
  }
  source.searchable = bytesAsText(data);
  if (startsWith(data, "\xD0\xCF\x11\xE0")) {
    // A Word file's header counts the characters of its main text: from Word 97 on at 0x4C,
    // in Word 6 and 95 at 0x34.
    const auto stream = office.oleStream(path, "WordDocument");
    if (stream && stream->size() >= 0x50) {
      const uint32_t ident = littleEndian(*stream, 0, 2);
      const uint32_t version = littleEndian(*stream, 2, 2);
      if (ident == 0xA5EC || ident == 0xA5DC) {
        const uint32_t characters = littleEndian(*stream, version >= 193 ? 0x4C : 0x34, 4);
        source.hasBodyText = characters > 1;  // a lone paragraph mark is an empty document
      }
    }
  }
  return source;
}

std::string contentProblem(const SourceText& source, const std::string& convertedText) {
  const std::set<std::string> words = wordsOf(convertedText);
  if (source.hasBodyText == true && words.empty()) {
    return "the file's body has text, the conversion has none";
  }
  std::vector<std::string> foreign;
  for (const auto& word : words) {
    if (source.searchable.find(word) == std::string::npos) {
      foreign.push_back(word);
    }
  }
  // A reader may join or hyphenate a few words the file keeps apart; garbage has many.
  if (foreign.size() * 10 > words.size()) {
    std::string list;
    for (size_t i = 0; i < foreign.size() && i < 8; ++i) {
      list += (i ? ", " : "") + foreign[i];
    }
    return std::to_string(foreign.size()) + " of " + std::to_string(words.size()) +
           " words are not in the file: " + list;
  }
  return {};
}

}  // namespace kelvara::word::testing
