#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <string>
#include <vector>

#include "word/lo/SpellingCounter.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// The body's text with the languages it is written in.
struct LanguageText {
  std::u16string text;
  std::vector<LanguageRun> runs;  // in order, not overlapping
};

// Reads the body's text and languages in a few calls: the text at once, and the languages of
// the whole body when its words have one set of them. Text of several languages is halved
// until each part has one; after probeLimit questions, or once the office has moved its
// cursors over four times the text, the parts still mixed are taken in the languages the
// office gives for them (none, for some).
LanguageText readBodyLanguages(const css::uno::Reference<css::frame::XModel>& model,
                               int probeLimit = 100);

// "en-US" for a locale; empty for one without a language.
std::string languageTag(const OUString& language, const OUString& country, const OUString& variant);

}  // namespace kelvara::word::lo
