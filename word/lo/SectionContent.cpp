#include "word/lo/SectionContent.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/style/BreakType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextTable.hpp>

namespace kelvara::word::lo {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

bool breaksBefore(int32_t type) {
  return type == static_cast<int32_t>(css::style::BreakType_PAGE_BEFORE) ||
         type == static_cast<int32_t>(css::style::BreakType_PAGE_BOTH);
}

bool breaksAfter(int32_t type) {
  return type == static_cast<int32_t>(css::style::BreakType_PAGE_AFTER) ||
         type == static_cast<int32_t>(css::style::BreakType_PAGE_BOTH);
}

}  // namespace

namespace {

int32_t breakTypeOf(const css::uno::Any& content) {
  css::style::BreakType type = css::style::BreakType_NONE;
  Reference<css::beans::XPropertySet>(content, UNO_QUERY_THROW)->getPropertyValue("BreakType") >>=
      type;
  return static_cast<int32_t>(type);
}

SectionElement readElement(const css::uno::Any& content) {
  SectionElement element;
  element.content = content;
  element.table = Reference<css::text::XTextTable>(content, UNO_QUERY).is();
  if (!element.table) {
    element.text = toU32(Reference<css::text::XTextRange>(content, UNO_QUERY_THROW)->getString());
  }
  element.breakType = breakTypeOf(content);
  return element;
}

}  // namespace

std::vector<SectionElement> readSectionElements(const Reference<css::frame::XModel>&,
                                                const SectionRun& section, SectionEdge from,
                                                size_t characters) {
  const std::vector<css::uno::Any>& all = section.elements;
  // Which elements to read: from the edge until the characters are there.
  size_t first = 0;
  size_t end = all.size();
  std::vector<SectionElement> elements;
  size_t read = 0;
  if (from == SectionEdge::Start) {
    for (end = 0; end < all.size() && read < characters; ++end) {
      elements.push_back(readElement(all[end]));
      read += elements.back().length();
    }
  } else {
    std::vector<SectionElement> reversed;
    for (first = all.size(); first > 0 && read < characters;) {
      reversed.push_back(readElement(all[--first]));
      read += reversed.back().length();
    }
    elements.assign(std::make_move_iterator(reversed.rbegin()),
                    std::make_move_iterator(reversed.rend()));
  }
  // The break that opens the section is the section break itself, not a character of it; any
  // other page break is a form feed, whether the paragraph asks for it before itself or the one
  // before asks for it after.
  int32_t previousBreak = first > 0 ? breakTypeOf(all[first - 1]) : 0;
  for (size_t i = 0; i < elements.size(); ++i) {
    SectionElement& element = elements[i];
    element.formFeed =
        first + i > 0 && (breaksBefore(element.breakType) || breaksAfter(previousBreak));
    previousBreak = element.breakType;
  }
  return elements;
}

std::u32string textOf(const std::vector<SectionElement>& elements) {
  std::u32string text;
  for (const SectionElement& element : elements) {
    if (element.formFeed) {
      text += U'\f';
    }
    text += element.table ? std::u32string(U"\a\r") : element.text + U'\r';
  }
  return text;
}

}  // namespace kelvara::word::lo
