#include "word/lo/Sections.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>

#include "word/lo/OfficeScriptCall.h"
#include "word/lo/SectionContent.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

Reference<css::container::XEnumeration> bodyElements(const Reference<css::frame::XModel>& model) {
  Reference<css::text::XTextDocument> document(model, UNO_QUERY_THROW);
  Reference<css::container::XEnumerationAccess> access(document->getText(), UNO_QUERY_THROW);
  return access->createEnumeration();
}

std::string startPageStyle(const Reference<css::frame::XModel>& model) {
  Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY);
  if (supplier.is()) {
    auto cursor = supplier->getViewCursor();
    cursor->gotoStart(false);
    Reference<css::beans::XPropertySet> props(cursor, UNO_QUERY);
    OUString name;
    if (props.is() && (props->getPropertyValue("PageStyleName") >>= name)) {
      return toUtf8(name);
    }
  }
  return "Standard";
}

}  // namespace

std::optional<std::vector<SectionRun>> readSectionsInOffice(
    const Reference<css::frame::XModel>& model) {
  css::uno::Sequence<css::uno::Any> args(1);
  args[0] <<= model;
  const std::optional<css::uno::Any> result = callOfficeScript(model, "read_sections", args);
  css::uno::Sequence<css::uno::Any> parts;
  css::uno::Sequence<css::uno::Any> elements;
  css::uno::Sequence<css::uno::Any> styles;
  OUString startStyle;
  if (!result || !(*result >>= parts) || parts.getLength() != 3 || !(parts[0] >>= startStyle) ||
      !(parts[1] >>= elements) || !(parts[2] >>= styles) ||
      elements.getLength() != styles.getLength()) {
    return std::nullopt;
  }
  std::vector<SectionRun> sections;
  sections.push_back({0, 0, toUtf8(startStyle), {}, false});
  for (sal_Int32 index = 0; index < elements.getLength(); ++index) {
    OUString pageDesc;
    if (index > 0 && (styles[index] >>= pageDesc) && !pageDesc.isEmpty()) {
      sections.back().elementCount = index - sections.back().firstElement;
      sections.push_back({index, 0, toUtf8(pageDesc), {}, false});
    }
    sections.back().elements.push_back(elements[index]);
  }
  sections.back().elementCount =
      static_cast<int32_t>(elements.getLength()) - sections.back().firstElement;
  return sections;
}

std::vector<SectionRun> readSections(const Reference<css::frame::XModel>& model) {
  // Inside the office the walk costs one call instead of two for every paragraph, each of
  // which would wait for the office's layout in the background.
  if (auto sections = readSectionsInOffice(model)) {
    return std::move(*sections);
  }
  return readSectionsStepByStep(model);
}

std::vector<SectionRun> readSectionsStepByStep(const Reference<css::frame::XModel>& model) {
  std::vector<SectionRun> sections;
  sections.push_back({0, 0, startPageStyle(model), {}, false});
  auto elements = bodyElements(model);
  int32_t index = 0;
  // Asking for the next element until there is none saves a call to the office per element
  // over asking first whether there is one.
  for (;;) {
    css::uno::Any element;
    try {
      element = elements->nextElement();
    } catch (const css::container::NoSuchElementException&) {
      break;
    }
    Reference<css::beans::XPropertySet> props(element, UNO_QUERY);
    OUString pageDesc;
    if (index > 0 && props.is() && (props->getPropertyValue("PageDescName") >>= pageDesc) &&
        !pageDesc.isEmpty()) {
      sections.back().elementCount = index - sections.back().firstElement;
      sections.push_back({index, 0, toUtf8(pageDesc), {}, false});
    }
    sections.back().elements.push_back(element);
    ++index;
  }
  sections.back().elementCount = index - sections.back().firstElement;
  return sections;
}

int32_t pageStyleOrientation(const Reference<css::frame::XModel>& model,
                             const std::string& pageStyle) {
  Reference<css::style::XStyleFamiliesSupplier> families(model, UNO_QUERY_THROW);
  Reference<css::container::XNameAccess> pageStyles(
      families->getStyleFamilies()->getByName("PageStyles"), UNO_QUERY_THROW);
  if (!pageStyles->hasByName(toOU(pageStyle))) {
    return 0;
  }
  Reference<css::beans::XPropertySet> style(pageStyles->getByName(toOU(pageStyle)),
                                            UNO_QUERY_THROW);
  sal_Int32 width = 0;
  sal_Int32 height = 0;
  style->getPropertyValue("Width") >>= width;
  style->getPropertyValue("Height") >>= height;
  return width > height ? 1 : 0;
}

std::u32string sectionText(const Reference<css::frame::XModel>& model, const SectionRun& section,
                           SectionEdge from, size_t characters) {
  return textOf(readSectionElements(model, section, from, characters));
}

}  // namespace kelvara::word::lo
