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

std::vector<SectionElement> readSectionElements(const Reference<css::frame::XModel>& model,
                                                const SectionRun& section) {
  Reference<css::text::XTextDocument> document(model, UNO_QUERY_THROW);
  Reference<css::container::XEnumerationAccess> access(document->getText(), UNO_QUERY_THROW);
  auto enumeration = access->createEnumeration();
  std::vector<SectionElement> elements;
  const int32_t end = section.firstElement + section.elementCount;
  for (int32_t index = 0; index < end && enumeration->hasMoreElements(); ++index) {
    css::uno::Any content = enumeration->nextElement();
    if (index < section.firstElement) {
      continue;
    }
    SectionElement element;
    element.content = content;
    element.table = Reference<css::text::XTextTable>(content, UNO_QUERY).is();
    if (!element.table) {
      element.text = toU32(Reference<css::text::XTextRange>(content, UNO_QUERY_THROW)->getString());
    }
    css::style::BreakType type = css::style::BreakType_NONE;
    Reference<css::beans::XPropertySet>(content, UNO_QUERY_THROW)->getPropertyValue("BreakType") >>=
        type;
    element.breakType = static_cast<int32_t>(type);
    // The break that opens the section is the section break itself, not a character of it.
    element.formFeed = !elements.empty() &&
                       (breaksBefore(element.breakType) || breaksAfter(elements.back().breakType));
    elements.push_back(std::move(element));
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
