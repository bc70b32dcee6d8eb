#include "word/lo/SpellingCounter.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "word/lo/SpellingTokens.h"

namespace kelvara::word::lo {
namespace {

// "zxx" is the office's "no language", "x-none" Word's; neither is checked.
bool checked(const std::string& tag) {
  return !tag.empty() && tag != "zxx" && tag.rfind("zxx-", 0) != 0 && tag != "x-none" &&
         tag != "und";
}

const std::string* tagFor(const LanguageRun& run, Script script) {
  switch (script) {
    case Script::Western:
      return &run.western;
    case Script::Asian:
      return &run.asian;
    case Script::Complex:
      return &run.complex;
    case Script::Unchecked:
      return nullptr;
  }
  return nullptr;
}

}  // namespace

SpellingErrors countSpellingErrors(const std::u16string& text, const std::vector<LanguageRun>& runs,
                                   SpellingDictionaries& dictionaries) {
  // Each word once per language, with how often it occurs: documents repeat their words, and
  // the dictionary is asked once.
  std::map<std::string, std::map<std::string, int32_t>> wordsByLanguage;
  std::vector<std::string> languages;  // in the order of their first word
  size_t run = 0;
  for (const SpellingToken& token : spellingTokens(text)) {
    while (run < runs.size() && runs[run].end <= token.offset) {
      ++run;
    }
    if (run == runs.size() || token.offset < runs[run].begin) {
      continue;  // text of no known language
    }
    const std::string* tag = tagFor(runs[run], token.script);
    if (!tag || !checked(*tag)) {
      continue;
    }
    auto [words, added] = wordsByLanguage.try_emplace(*tag);
    if (added) {
      languages.push_back(*tag);
    }
    ++words->second[token.word];
  }
  SpellingErrors result;
  for (const std::string& language : languages) {
    const auto dictionary = dictionaries.find(language);
    if (!dictionary) {
      result.languagesWithoutDictionary.push_back(language);
      continue;
    }
    result.count += static_cast<int32_t>(
        std::min<int64_t>(dictionary->countRejected(wordsByLanguage[language]), INT32_MAX));
  }
  return result;
}

}  // namespace kelvara::word::lo
