#include "word/lo/ParagraphFormatWriter.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertyState.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/style/BreakType.hpp>
#include <com/sun/star/style/LineSpacing.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextTable.hpp>

#include <optional>

#include "word/lo/BodyContent.h"
#include "word/lo/FormatUnits.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// Word's widow control keeps two lines together at either end of a page.
constexpr sal_Int8 kWidowLines = 2;
// Word's own default line height for "at least" and "exactly" when no height is given.
constexpr double kDefaultLineHeight = 12.0;

Any lineSpacingAny(const LineSpacingSetting& setting) {
  css::style::LineSpacing spacing;
  spacing.Mode = static_cast<sal_Int16>(setting.mode);
  spacing.Height = setting.height;
  return Any(spacing);
}

LineSpacingSetting settingOf(const Any& value) {
  css::style::LineSpacing spacing;
  value >>= spacing;
  return {static_cast<LineSpacingMode>(spacing.Mode), spacing.Height};
}

Any hundredths(double points) {
  return Any(static_cast<sal_Int32>(hundredthsOfMillimetre(points)));
}

// The rule a paragraph or table range has; tables report their first cell's paragraphs.
int32_t ruleOf(const Reference<css::beans::XPropertySet>& range) {
  return lineSpacingRuleOf(settingOf(range->getPropertyValue("ParaLineSpacing")));
}

// Word's rule and height together as the office's one line spacing value. A height alone
// keeps the body's rule when that has a height ("at least", "exactly"); otherwise, as in Word,
// a height in points means that many twelfths of a line.
std::optional<LineSpacingSetting> lineSpacingOf(const Reference<css::frame::XModel>& model,
                                                const ParagraphFormatValues& values) {
  if (values.lineSpacingRule) {
    return lineSpacingFor(*values.lineSpacingRule, values.lineSpacing.value_or(kDefaultLineHeight));
  }
  if (!values.lineSpacing) {
    return std::nullopt;
  }
  const int32_t rule = bodyLineSpacingRule(model);
  return lineSpacingFor(rule == 3 || rule == 4 ? rule : 5, *values.lineSpacing);
}

// A page break before every element but those that start a section: the section break
// already starts their page, and the office would write a second break there as an empty page.
// Between two section starts one cursor takes the paragraphs (and the tables among them);
// tables at either end of such a stretch, where a cursor cannot begin or end, are set alone.
void breakBeforeInsideSections(const Reference<css::frame::XModel>& model,
                               const std::vector<int32_t>& sectionStarts) {
  const Any pageBefore(css::style::BreakType_PAGE_BEFORE);
  Reference<css::text::XTextDocument> document(model, UNO_QUERY_THROW);
  const Reference<css::text::XText> text = document->getText();
  std::vector<std::pair<Any, bool>> stretch;  // elements, and whether each is a table
  auto breakStretch = [&] {
    size_t begin = 0;
    size_t end = stretch.size();
    auto setOn = [&](const Any& element) {
      Reference<css::beans::XPropertySet>(element, UNO_QUERY_THROW)
          ->setPropertyValue("BreakType", pageBefore);
    };
    while (begin < end && stretch[begin].second) {
      setOn(stretch[begin++].first);
    }
    while (end > begin && stretch[end - 1].second) {
      setOn(stretch[--end].first);
    }
    if (begin < end) {
      auto cursor = text->createTextCursorByRange(
          Reference<css::text::XTextRange>(stretch[begin].first, UNO_QUERY_THROW)->getStart());
      cursor->gotoRange(
          Reference<css::text::XTextRange>(stretch[end - 1].first, UNO_QUERY_THROW)->getEnd(),
          true);
      Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)
          ->setPropertyValue("BreakType", pageBefore);
    }
    stretch.clear();
  };
  Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY_THROW);
  auto elements = access->createEnumeration();
  size_t nextStart = 0;
  for (int32_t index = 0; elements->hasMoreElements(); ++index) {
    const Any element = elements->nextElement();
    if (index == 0 || (nextStart < sectionStarts.size() && index == sectionStarts[nextStart])) {
      breakStretch();
    } else {
      stretch.emplace_back(element, Reference<css::text::XTextTable>(element, UNO_QUERY).is());
    }
    while (nextStart < sectionStarts.size() && sectionStarts[nextStart] <= index) {
      ++nextStart;
    }
  }
  breakStretch();
}

}  // namespace

void applyParagraphFormat(const Reference<css::frame::XModel>& model,
                          const ParagraphFormatValues& values,
                          const std::vector<int32_t>& sectionStarts) {
  PropertyValues set;
  if (values.alignment) {
    if (const auto adjust = paragraphAdjustFor(*values.alignment)) {
      set.emplace_back("ParaAdjust", Any(static_cast<sal_Int16>(*adjust)));
    }
  }
  if (values.leftIndent) {
    set.emplace_back("ParaLeftMargin", hundredths(*values.leftIndent));
  }
  if (values.rightIndent) {
    set.emplace_back("ParaRightMargin", hundredths(*values.rightIndent));
  }
  if (values.firstLineIndent) {
    set.emplace_back("ParaFirstLineIndent", hundredths(*values.firstLineIndent));
  }
  if (values.spaceBefore) {
    set.emplace_back("ParaTopMargin", hundredths(*values.spaceBefore));
  }
  if (values.spaceAfter) {
    set.emplace_back("ParaBottomMargin", hundredths(*values.spaceAfter));
  }
  if (const auto spacing = lineSpacingOf(model, values)) {
    set.emplace_back("ParaLineSpacing", lineSpacingAny(*spacing));
  }
  if (values.widowControl) {
    const sal_Int8 lines = *values.widowControl ? kWidowLines : 0;
    set.emplace_back("ParaWidows", Any(lines));
    set.emplace_back("ParaOrphans", Any(lines));
  }
  if (values.keepWithNext) {
    set.emplace_back("ParaKeepTogether", Any(*values.keepWithNext));
  }
  if (values.keepTogether) {
    set.emplace_back("ParaSplit", Any(!*values.keepTogether));
  }
  if (values.noLineNumber) {
    set.emplace_back("ParaLineNumberCount", Any(!*values.noLineNumber));
  }
  if (values.hyphenation) {
    set.emplace_back("ParaIsHyphenation", Any(*values.hyphenation));
  }
  setOnBody(wholeBody(model), set);
  // Only a break can be added: the office imports Word's manual page breaks as this same
  // "break before" of the paragraph after them, so clearing it would delete every page break
  // the author typed. Off leaves the paragraphs as they are.
  if (values.pageBreakBefore && *values.pageBreakBefore) {
    breakBeforeInsideSections(model, sectionStarts);
  }
}

int32_t bodyLineSpacingRule(const Reference<css::frame::XModel>& model) {
  const BodyContent body = wholeBody(model);
  Reference<css::beans::XPropertySet> cursor(body.cursor, UNO_QUERY_THROW);
  std::optional<int32_t> rule;
  auto agrees = [&rule](int32_t next) {
    if (rule && *rule != next) {
      return false;
    }
    rule = next;
    return true;
  };
  for (const auto& table : body.leadingTables) {
    for (const auto& range : tableRanges(table)) {
      if (!agrees(ruleOf(range))) {
        return -1;
      }
    }
  }
  Reference<css::beans::XPropertyState> state(body.cursor, UNO_QUERY_THROW);
  if (state->getPropertyState("ParaLineSpacing") != css::beans::PropertyState_AMBIGUOUS_VALUE) {
    return agrees(ruleOf(cursor)) ? *rule : -1;
  }
  // The paragraphs differ in their spacing, but not necessarily in Word's rule (one and a
  // half and 115 % are both multiples, say): compare them one by one, up to the first two
  // that differ.
  Reference<css::text::XTextDocument> document(model, UNO_QUERY_THROW);
  Reference<css::container::XEnumerationAccess> access(document->getText(), UNO_QUERY_THROW);
  auto elements = access->createEnumeration();
  while (elements->hasMoreElements()) {
    const Any element = elements->nextElement();
    if (Reference<css::text::XTextTable> table(element, UNO_QUERY); table.is()) {
      for (const auto& range : tableRanges(table)) {
        if (!agrees(ruleOf(range))) {
          return -1;
        }
      }
    } else if (!agrees(ruleOf(Reference<css::beans::XPropertySet>(element, UNO_QUERY_THROW)))) {
      return -1;
    }
  }
  return rule.value_or(0);
}

}  // namespace kelvara::word::lo
