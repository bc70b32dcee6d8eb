#include "word/lo/BodyLanguages.h"

#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XMultiPropertyStates.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

#include <algorithm>
#include <array>

#include "word/lo/BodyContent.h"
#include "word/lo/SpellingTokens.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

// The language of Western, Asian and complex-script text, in the order of Script.
const OUString kLocales[] = {"CharLocale", "CharLocaleAsian", "CharLocaleComplex"};

css::uno::Sequence<OUString> allLocaleNames() {
  return css::uno::Sequence<OUString>(kLocales, 3);
}

std::string tagOf(const Any& value) {
  css::lang::Locale locale;
  value >>= locale;
  return languageTag(locale.Language, locale.Country, locale.Variant);
}

LanguageRun runOf(size_t begin, size_t end, const css::uno::Sequence<Any>& locales) {
  return {begin, end, tagOf(locales[0]), tagOf(locales[1]), tagOf(locales[2])};
}

std::u16string utf16(const OUString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.getStr()),
                        static_cast<size_t>(text.getLength()));
}

// Where the words of the text start and in which script, so that a part of the text is asked
// about only when it has words, and only about the languages of the scripts it has.
class WordIndex {
 public:
  explicit WordIndex(const std::u16string& text) {
    for (const SpellingToken& token : spellingTokens(text)) {
      starts_.push_back(token.offset);
      scripts_.push_back(token.script);
    }
  }

  // The names of the locale properties that the words in [begin, end) are checked in; empty
  // when there are none.
  css::uno::Sequence<OUString> localesOfWords(size_t begin, size_t end) const {
    std::array<bool, 3> used{};
    auto it = std::lower_bound(starts_.begin(), starts_.end(), begin);
    for (auto i = static_cast<size_t>(it - starts_.begin()); i < starts_.size() && starts_[i] < end;
         ++i) {
      if (scripts_[i] != Script::Unchecked) {
        used[static_cast<size_t>(scripts_[i])] = true;
      }
    }
    std::vector<OUString> names;
    for (size_t i = 0; i < used.size(); ++i) {
      if (used[i]) {
        names.push_back(kLocales[i]);
      }
    }
    return css::uno::Sequence<OUString>(names.data(), static_cast<sal_Int32>(names.size()));
  }

 private:
  std::vector<size_t> starts_;
  std::vector<Script> scripts_;
};

bool anyAmbiguous(const Reference<css::beans::XMultiPropertyStates>& states,
                  const css::uno::Sequence<OUString>& names) {
  for (const auto state : states->getPropertyStates(names)) {
    if (state == css::beans::PropertyState_AMBIGUOUS_VALUE) {
      return true;
    }
  }
  return false;
}

// Asks the office for the languages of parts of the body's text: a part whose words are of
// one language (per script) is a run; a part of several is halved, at a paragraph end where
// one is near the middle. Parts are visited from the start on, and a second cursor keeps the
// place reached, since the office moves a cursor character by character.
class LanguageProbe {
 public:
  LanguageProbe(const Reference<css::text::XText>& text, const BodyContent& body,
                const std::u16string& string, size_t offset, const WordIndex& words, int limit)
      : cursor_(body.cursor),
        anchor_(text->createTextCursor()),
        states_(body.cursor, UNO_QUERY_THROW),
        values_(body.cursor, UNO_QUERY_THROW),
        text_(string),
        offset_(offset),
        words_(words),
        probesLeft_(limit),
        movesLeft_(4 * string.size() + 100000) {
    anchor_->gotoStart(false);
  }

  void split(size_t begin, size_t end, std::vector<LanguageRun>& runs) {
    // Paragraph ends at either edge are left out: a selection that reaches into a table takes
    // in the whole table, so a part next to one would look mixed when it is not.
    while (begin < end && text_[begin] == u'\n') {
      ++begin;
    }
    while (end > begin && text_[end - 1] == u'\n') {
      --end;
    }
    const auto names = words_.localesOfWords(begin, end);
    if (names.getLength() == 0) {
      return;
    }
    select(begin, end);
    --probesLeft_;
    if (end - begin <= 1 || probesLeft_ <= 0 || movesLeft_ <= 0 || !anyAmbiguous(states_, names)) {
      runs.push_back(runOf(begin, end, values_->getPropertyValues(allLocaleNames())));
      return;
    }
    const size_t middle = begin + (end - begin) / 2;
    for (size_t distance = 0; distance < (end - begin) / 2; ++distance) {
      for (const size_t at : {middle - distance, middle + distance}) {
        if (at > begin && at < end && text_[at] == u'\n') {
          split(begin, at, runs);
          split(at + 1, end, runs);
          return;
        }
      }
    }
    split(begin, middle, runs);
    split(middle, end, runs);
  }

 private:
  void select(size_t begin, size_t end) {
    if (begin < anchorAt_ + offset_) {
      anchor_->gotoStart(false);
      anchorAt_ = 0;
    }
    move(anchor_, begin - offset_ - anchorAt_, false);
    anchorAt_ = begin - offset_;
    cursor_->gotoRange(anchor_->getStart(), false);
    move(cursor_, end - begin, true);
  }

  void move(const Reference<css::text::XTextCursor>& cursor, size_t units, bool expand) {
    movesLeft_ -= static_cast<int64_t>(units);
    while (units > 0) {
      const auto step = static_cast<sal_Int16>(std::min<size_t>(units, 0x7FFF));
      cursor->goRight(step, expand);
      units -= static_cast<size_t>(step);
    }
  }

  Reference<css::text::XTextCursor> cursor_;
  Reference<css::text::XTextCursor> anchor_;  // collapsed at the start of the last part asked
  size_t anchorAt_ = 0;                       // its place, from the cursor's start
  Reference<css::beans::XMultiPropertyStates> states_;
  Reference<css::beans::XMultiPropertySet> values_;
  const std::u16string& text_;
  size_t offset_;
  const WordIndex& words_;
  int probesLeft_;
  int64_t movesLeft_;  // characters the office may still be asked to move over
};

}  // namespace

std::string languageTag(const OUString& language, const OUString& country,
                        const OUString& variant) {
  // Tags the old locale fields cannot hold come whole in the variant.
  if (language == "qlt") {
    return toUtf8(variant);
  }
  if (language.isEmpty()) {
    return {};
  }
  return country.isEmpty() ? toUtf8(language) : toUtf8(language) + "-" + toUtf8(country);
}

LanguageText readBodyLanguages(const Reference<css::frame::XModel>& model, int probeLimit) {
  const BodyContent body = wholeBody(model);
  LanguageText result;
  // Tables before the first paragraph, which the body's cursor cannot reach: their text, in
  // the languages the office gives for their cells.
  for (const auto& table : body.leadingTables) {
    const size_t begin = result.text.size();
    result.text += utf16(tableText(table));
    const auto ranges = tableRanges(table);
    if (ranges.empty()) {
      continue;
    }
    css::uno::Sequence<Any> locales(3);
    for (sal_Int32 i = 0; i < 3; ++i) {
      locales.getArray()[i] = ranges.front()->getPropertyValue(kLocales[i]);
    }
    result.runs.push_back(runOf(begin, result.text.size(), locales));
  }
  const size_t offset = result.text.size();
  result.text += utf16(body.cursor->getString());
  const WordIndex words(result.text);
  const auto names = words.localesOfWords(offset, result.text.size());
  if (names.getLength() == 0) {
    return result;
  }
  Reference<css::beans::XMultiPropertyStates> states(body.cursor, UNO_QUERY_THROW);
  if (!anyAmbiguous(states, names)) {
    Reference<css::beans::XMultiPropertySet> values(body.cursor, UNO_QUERY_THROW);
    result.runs.push_back(
        runOf(offset, result.text.size(), values->getPropertyValues(allLocaleNames())));
    return result;
  }
  const Reference<css::text::XText> text =
      Reference<css::text::XTextDocument>(model, UNO_QUERY_THROW)->getText();
  LanguageProbe(text, body, result.text, offset, words, probeLimit)
      .split(offset, result.text.size(), result.runs);
  return result;
}

}  // namespace kelvara::word::lo
