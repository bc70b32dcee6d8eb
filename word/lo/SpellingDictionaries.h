#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Hunspell;

// The spelling dictionaries the office uses (Hunspell's, installed by the system's packages),
// opened in this process: a count checks thousands of words, which over the pipe to the office
// would be a call each.

namespace kelvara::word::lo {

// One opened dictionary; several offices' threads may check words with it at once.
class SpellingDictionary {
 public:
  SpellingDictionary(const std::string& affixPath, const std::string& wordsPath);
  ~SpellingDictionary();
  SpellingDictionary(const SpellingDictionary&) = delete;
  SpellingDictionary& operator=(const SpellingDictionary&) = delete;

  // How many of the words (UTF-8, each with how often it occurs) the dictionary rejects,
  // counting every occurrence.
  int64_t countRejected(const std::map<std::string, int32_t>& words);

 private:
  bool accepts(const std::string& utf8Word);

  std::mutex mutex_;  // Hunspell objects are not safe for use by two threads at once
  std::unique_ptr<Hunspell> hunspell_;
  std::string encoding_;  // the dictionary's own encoding, when it is not UTF-8
};

// The installed dictionaries, each opened on first use and kept for the life of the process.
class SpellingDictionaries {
 public:
  // Looks for <language>_<COUNTRY>.dic and .aff (then <language>.dic) in the folders, in order.
  explicit SpellingDictionaries(std::vector<std::string> folders);

  // The folders the system's dictionary packages install into, shared by every office.
  static SpellingDictionaries& system();

  // The dictionary of a language tag such as "en-US"; null when none is installed.
  std::shared_ptr<SpellingDictionary> find(const std::string& languageTag);

 private:
  std::vector<std::string> folders_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<SpellingDictionary>> opened_;  // null: none installed
};

}  // namespace kelvara::word::lo
