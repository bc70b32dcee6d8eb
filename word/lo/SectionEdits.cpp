#include "word/lo/SectionEdits.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/style/BreakType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include <algorithm>

#include "word/lo/SectionContent.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

Reference<css::beans::XPropertySet> propertiesOf(const SectionElement& element) {
  return Reference<css::beans::XPropertySet>(element.content, UNO_QUERY_THROW);
}

Reference<css::text::XTextRange> rangeOf(const SectionElement& element) {
  return Reference<css::text::XTextRange>(element.content, UNO_QUERY_THROW);
}

Reference<css::text::XText> bodyText(const Reference<css::frame::XModel>& model) {
  return Reference<css::text::XTextDocument>(model, UNO_QUERY_THROW)->getText();
}

// UTF-16 units of the first n characters: the office's cursors count in those.
size_t utf16Length(const std::u32string& text, size_t n) {
  size_t units = 0;
  for (size_t i = 0; i < n && i < text.size(); ++i) {
    units += text[i] > 0xFFFF ? 2 : 1;
  }
  return units;
}

// Takes the page break that comes before the element away (the form feed of its text).
void clearBreakBefore(const SectionElement& element) {
  const auto type = static_cast<css::style::BreakType>(element.breakType);
  if (type == css::style::BreakType_PAGE_BEFORE || type == css::style::BreakType_PAGE_BOTH) {
    propertiesOf(element)->setPropertyValue(
        "BreakType", Any(type == css::style::BreakType_PAGE_BOTH ? css::style::BreakType_PAGE_AFTER
                                                                 : css::style::BreakType_NONE));
  }
}

// The page style (and page number) that starts the section, carried by its first element;
// empty for a first section that takes the document's first page style.
struct SectionStart {
  OUString pageStyle;
  Any pageNumber;
};

SectionStart sectionStartOf(const Reference<css::beans::XPropertySet>& first) {
  SectionStart start;
  first->getPropertyValue("PageDescName") >>= start.pageStyle;
  if (!start.pageStyle.isEmpty()) {
    start.pageNumber = first->getPropertyValue("PageNumberOffset");
  }
  return start;
}

// Makes the element start the section, unless it does already.
void startSectionAt(const Reference<css::beans::XPropertySet>& element, const SectionStart& start) {
  if (start.pageStyle.isEmpty()) {
    return;
  }
  OUString pageStyle;
  element->getPropertyValue("PageDescName") >>= pageStyle;
  if (pageStyle == start.pageStyle) {
    return;  // the page number came with the style
  }
  element->setPropertyValue("PageDescName", Any(start.pageStyle));
  if (start.pageNumber.hasValue()) {
    element->setPropertyValue("PageNumberOffset", start.pageNumber);
  }
}

bool breaksBefore(int32_t type) {
  return type == static_cast<int32_t>(css::style::BreakType_PAGE_BEFORE) ||
         type == static_cast<int32_t>(css::style::BreakType_PAGE_BOTH);
}

// Moves a cursor by any number of UTF-16 units (the office takes at most 32767 at a time).
void move(const Reference<css::text::XTextCursor>& cursor, size_t units, bool right, bool expand) {
  while (units > 0) {
    const auto step = static_cast<sal_Int16>(std::min<size_t>(units, 0x7FFF));
    if (right) {
      cursor->goRight(step, expand);
    } else {
      cursor->goLeft(step, expand);
    }
    units -= static_cast<size_t>(step);
  }
}

void deleteFromStart(const Reference<css::frame::XModel>& model,
                     const std::vector<SectionElement>& elements, size_t count) {
  // Whole elements first: any but the section's last, up to a table.
  size_t whole = 0;
  while (whole + 1 < elements.size() && !elements[whole].table &&
         elements[whole].length() <= count) {
    count -= elements[whole].length();
    ++whole;
  }
  const SectionElement& survivor = elements[whole];
  if (survivor.table) {
    count = 0;
  }
  const bool formFeedGoes = survivor.formFeed && count > 0;
  if (formFeedGoes) {
    --count;
  }
  const size_t trimmed = std::min(count, survivor.text.size());
  const auto text = bodyText(model);
  if (whole == 0) {
    // The section's first paragraph loses characters only; it has no form feed.
    if (trimmed > 0) {
      auto cursor = text->createTextCursorByRange(rangeOf(survivor)->getStart());
      move(cursor, utf16Length(survivor.text, trimmed), true, true);
      cursor->setString(OUString());
    }
    return;
  }
  const SectionStart start = sectionStartOf(propertiesOf(elements.front()));
  if (survivor.table) {
    // A table cannot be joined: it takes the section start over, the paragraphs go.
    startSectionAt(propertiesOf(survivor), start);
    for (size_t i = 0; i < whole; ++i) {
      Reference<css::lang::XComponent>(elements[i].content, UNO_QUERY_THROW)->dispose();
    }
    return;
  }
  // One deletion from the section's start into the survivor's text. Joining the paragraphs,
  // the office hands the first one's page style and break to the survivor and drops the
  // survivor's own break (the form feed), as Word's deletion of those characters does; the
  // section start is checked all the same, since losing it would merge two sections.
  auto cursor = text->createTextCursorByRange(rangeOf(elements.front())->getStart());
  cursor->gotoRange(rangeOf(survivor)->getStart(), true);
  move(cursor, utf16Length(survivor.text, trimmed), true, true);
  cursor->setString(OUString());
  Reference<css::beans::XPropertySet> joined(cursor, UNO_QUERY_THROW);
  startSectionAt(joined, start);
  if (!formFeedGoes && breaksBefore(survivor.breakType)) {
    joined->setPropertyValue("BreakType", Any(css::style::BreakType_PAGE_BEFORE));
  }
}

void deleteBeforeEnd(const Reference<css::frame::XModel>& model,
                     const std::vector<SectionElement>& elements, size_t count) {
  // The characters [start, end of the last paragraph's text) go.
  size_t total = 0;
  for (const SectionElement& element : elements) {
    total += element.length();
  }
  const size_t start = total - 1 > count ? total - 1 - count : 0;
  size_t first = 0;
  size_t offset = start;
  while (offset >= elements[first].length()) {
    offset -= elements[first].length();
    ++first;
  }
  const size_t last = elements.size() - 1;
  for (size_t i = last + 1; i-- > first;) {
    if (elements[i].table) {
      if (i == last) {
        return;
      }
      first = i + 1;
      offset = 0;
      break;
    }
  }
  // The first element keeps what comes before the deletion and takes the last one's end: the
  // paragraphs in between join it, and it keeps its own attributes (the section's page style
  // among them when it is the section's first).
  const SectionElement& survivor = elements[first];
  const size_t formFeed = survivor.formFeed ? 1 : 0;
  const size_t kept = offset <= formFeed ? 0 : std::min(offset - formFeed, survivor.text.size());
  if (formFeed == 1 && offset == 0) {
    clearBreakBefore(survivor);
  }
  const size_t cut =
      utf16Length(survivor.text, survivor.text.size()) - utf16Length(survivor.text, kept);
  if (first == last && cut == 0) {
    return;
  }
  auto cursor = bodyText(model)->createTextCursorByRange(rangeOf(survivor)->getEnd());
  move(cursor, cut, false, false);
  cursor->gotoRange(rangeOf(elements[last])->getEnd(), true);
  cursor->setString(OUString());
}

}  // namespace

void deleteSectionCharacters(const Reference<css::frame::XModel>& model, const SectionRun& section,
                             int32_t count) {
  if (count == 0) {
    return;
  }
  // Only the paragraphs the deletion reaches are read, and one more: the one that stays.
  const size_t reach = static_cast<size_t>(count > 0 ? int64_t{count} : -int64_t{count}) + 1;
  const std::vector<SectionElement> elements =
      readSectionElements(model, section, count > 0 ? SectionEdge::Start : SectionEdge::End, reach);
  if (elements.empty()) {
    return;
  }
  if (count > 0) {
    deleteFromStart(model, elements, reach - 1);
  } else {
    deleteBeforeEnd(model, elements, reach - 1);
  }
}

}  // namespace kelvara::word::lo
