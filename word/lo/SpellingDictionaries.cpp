#include "word/lo/SpellingDictionaries.h"

#include <iconv.h>
#include <hunspell.hxx>

#include <filesystem>
#include <system_error>

namespace kelvara::word::lo {
namespace {

namespace fs = std::filesystem;

bool isFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// A UTF-8 word in the dictionary's encoding; empty when it has no form there (such a word
// cannot be in the dictionary).
std::string encoded(const std::string& utf8, const std::string& encoding) {
  iconv_t converter = iconv_open(encoding.c_str(), "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return {};
  }
  std::string out(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* to = out.data();
  size_t outLeft = out.size();
  const size_t done = iconv(converter, &in, &inLeft, &to, &outLeft);
  iconv_close(converter);
  if (done == static_cast<size_t>(-1)) {
    return {};
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

SpellingDictionary::SpellingDictionary(const std::string& affixPath, const std::string& wordsPath)
    : hunspell_(std::make_unique<Hunspell>(affixPath.c_str(), wordsPath.c_str())) {
  const std::string encoding = hunspell_->get_dict_encoding();
  if (encoding != "UTF-8" && encoding != "utf-8") {
    encoding_ = encoding;
  }
}

SpellingDictionary::~SpellingDictionary() = default;

bool SpellingDictionary::accepts(const std::string& utf8Word) {
  if (encoding_.empty()) {
    return hunspell_->spell(utf8Word);
  }
  const std::string word = encoded(utf8Word, encoding_);
  return !word.empty() && hunspell_->spell(word);
}

int64_t SpellingDictionary::countRejected(const std::map<std::string, int32_t>& words) {
  std::lock_guard<std::mutex> lock(mutex_);
  int64_t rejected = 0;
  for (const auto& [word, count] : words) {
    if (!accepts(word)) {
      rejected += count;
    }
  }
  return rejected;
}

SpellingDictionaries::SpellingDictionaries(std::vector<std::string> folders)
    : folders_(std::move(folders)) {}

SpellingDictionaries& SpellingDictionaries::system() {
  static SpellingDictionaries dictionaries(
      {"/usr/share/hunspell", "/usr/share/myspell", "/usr/share/myspell/dicts"});
  return dictionaries;
}

std::shared_ptr<SpellingDictionary> SpellingDictionaries::find(const std::string& languageTag) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto known = opened_.find(languageTag); known != opened_.end()) {
    return known->second;
  }
  // "en-US" is en_US; a tag without a country, or one whose country has no dictionary of its
  // own, may still have a dictionary of the language alone.
  std::string fileName = languageTag;
  for (char& c : fileName) {
    if (c == '-') {
      c = '_';
    }
  }
  std::vector<std::string> names{fileName};
  if (const size_t dash = fileName.find('_'); dash != std::string::npos) {
    names.push_back(fileName.substr(0, dash));
  }
  std::shared_ptr<SpellingDictionary> dictionary;
  for (const std::string& name : names) {
    for (const std::string& folder : folders_) {
      const fs::path words = fs::path(folder) / (name + ".dic");
      const fs::path affixes = fs::path(folder) / (name + ".aff");
      if (!dictionary && isFile(words) && isFile(affixes)) {
        dictionary = std::make_shared<SpellingDictionary>(affixes.string(), words.string());
      }
    }
  }
  opened_[languageTag] = dictionary;
  return dictionary;
}

}  // namespace kelvara::word::lo
