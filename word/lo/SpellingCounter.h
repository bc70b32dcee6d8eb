#pragma once

#include <string>
#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/SpellingDictionaries.h"

namespace kelvara::word::lo {

// A stretch of text in one set of languages: the language tags ("en-US") its Western, Asian
// and complex-script words are written in. An empty tag, "zxx" or "x-none" means "not
// checked".
struct LanguageRun {
  size_t begin = 0;  // UTF-16 offsets into the text
  size_t end = 0;
  std::string western;
  std::string asian;
  std::string complex;
};

// The text's words that the dictionaries of their languages reject, every occurrence counted.
// A language with words but without a dictionary is reported instead of checked.
SpellingErrors countSpellingErrors(const std::u16string& text, const std::vector<LanguageRun>& runs,
                                   SpellingDictionaries& dictionaries);

}  // namespace kelvara::word::lo
