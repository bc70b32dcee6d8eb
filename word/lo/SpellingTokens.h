#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The words of a text as the spelling count sees them, without the office: runs of letters
// (with apostrophes and hyphens inside), each with the writing system it belongs to, so that
// it is checked in the language the text gives that system.

namespace kelvara::word::lo {

// Which of the text's three languages a word is checked in; Unchecked words (Chinese and
// Japanese ideographs and kana, which have no spaces between words) are left alone.
enum class Script { Western, Asian, Complex, Unchecked };

struct SpellingToken {
  size_t offset = 0;  // in UTF-16 units of the text
  std::string word;   // UTF-8, typographic apostrophes made plain
  Script script = Script::Western;
};

// The words a spelling checker would look at. Left out, as the office does by default: words
// with digits, words in capitals only, and the parts of web and mail addresses.
std::vector<SpellingToken> spellingTokens(const std::u16string& text);

}  // namespace kelvara::word::lo
