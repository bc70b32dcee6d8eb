#include "word/lo/PageNumbers.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/NumberingType.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/PageNumberType.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include <vector>

#include "word/lo/PageLayoutPlan.h"
#include "word/lo/PageStyles.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

constexpr const char* kPageNumberField = "com.sun.star.text.TextField.PageNumber";

// The last paragraph of a header or footer text; null when it ends with something else.
Reference<css::text::XTextRange> lastParagraph(const Reference<css::text::XText>& text) {
  Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY_THROW);
  Reference<css::text::XTextRange> last;
  for (auto it = access->createEnumeration(); it->hasMoreElements();) {
    Reference<css::lang::XServiceInfo> info(it->nextElement(), UNO_QUERY);
    last = info.is() && info->supportsService("com.sun.star.text.Paragraph")
               ? Reference<css::text::XTextRange>(info, UNO_QUERY)
               : nullptr;
  }
  return last;
}

// A centred paragraph holding a page number field and nothing else.
bool isCentredPageNumber(const Reference<css::text::XTextRange>& paragraph) {
  sal_Int16 adjust = -1;
  Reference<css::beans::XPropertySet>(paragraph, UNO_QUERY_THROW)
      ->getPropertyValue("ParaAdjust") >>= adjust;
  if (adjust != static_cast<sal_Int16>(css::style::ParagraphAdjust_CENTER)) {
    return false;
  }
  bool numbered = false;
  Reference<css::container::XEnumerationAccess> access(paragraph, UNO_QUERY_THROW);
  for (auto it = access->createEnumeration(); it->hasMoreElements();) {
    Reference<css::beans::XPropertySet> portion(it->nextElement(), UNO_QUERY_THROW);
    OUString type;
    portion->getPropertyValue("TextPortionType") >>= type;
    if (type == "TextField") {
      Reference<css::lang::XServiceInfo> field(portion->getPropertyValue("TextField"), UNO_QUERY);
      if (!field.is() || !field->supportsService(OUString::createFromAscii(kPageNumberField)) ||
          numbered) {
        return false;
      }
      numbered = true;
    } else if (!Reference<css::text::XTextRange>(portion, UNO_QUERY_THROW)->getString().isEmpty()) {
      return false;
    }
  }
  return numbered;
}

void appendCentredPageNumber(const Reference<css::frame::XModel>& model,
                             const Reference<css::text::XText>& text) {
  const Reference<css::text::XTextRange> last = lastParagraph(text);
  if (last.is() && isCentredPageNumber(last)) {
    return;
  }
  auto cursor = text->createTextCursor();
  cursor->gotoEnd(false);
  const Reference<css::text::XTextRange> end(cursor, UNO_QUERY_THROW);
  // An empty footer has one empty paragraph, which takes the number; otherwise it goes below.
  if (!last.is() || !last->getString().isEmpty()) {
    text->insertControlCharacter(end, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
  }
  Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)
      ->setPropertyValue("ParaAdjust",
                         Any(static_cast<sal_Int16>(css::style::ParagraphAdjust_CENTER)));
  Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
  Reference<css::beans::XPropertySet> field(
      factory->createInstance(OUString::createFromAscii(kPageNumberField)), UNO_QUERY_THROW);
  field->setPropertyValue("NumberingType", Any(css::style::NumberingType::ARABIC));
  field->setPropertyValue("SubType", Any(css::text::PageNumberType_CURRENT));
  text->insertTextContent(end, Reference<css::text::XTextContent>(field, UNO_QUERY_THROW), false);
}

void numberFooters(const Reference<css::frame::XModel>& model, const std::string& name,
                   bool firstPage, PendingLayouts& pending) {
  auto style = pageStyle(model, name);
  const StyleGeometry before = readGeometry(style);
  if (!before.footerOn) {
    writeGeometry(style, before,
                  withFooterOn(before, hundredthsOfMmFromPoints(kDefaultFooterDistancePoints)));
  }
  // Layout choices kept while the page had no header or footer apply now that it has one, also
  // when the page setup switched the footer on.
  applyPendingLayout(style, name, pending);
  bool shared = true;
  bool firstShared = true;
  style->getPropertyValue("FooterIsShared") >>= shared;
  style->getPropertyValue("FirstIsShared") >>= firstShared;
  std::vector<const char*> footers{"FooterText"};
  if (!shared) {
    footers.push_back("FooterTextLeft");
  }
  if (firstPage && !firstShared) {
    footers.push_back("FooterTextFirst");
  }
  for (const char* footer : footers) {
    Reference<css::text::XText> text(style->getPropertyValue(OUString::createFromAscii(footer)),
                                     UNO_QUERY_THROW);
    appendCentredPageNumber(model, text);
  }
}

}  // namespace

void addCentredPageNumbers(const Reference<css::frame::XModel>& model,
                           const std::string& pageStyleName, bool firstPage,
                           PendingLayouts& pending) {
  if (const auto others = followingPagesStyle(model, pageStyleName)) {
    numberFooters(model, *others, firstPage, pending);
    if (firstPage) {
      numberFooters(model, pageStyleName, true, pending);
    }
    return;
  }
  for (const auto& name : sectionPageStyles(model, pageStyleName)) {
    numberFooters(model, name, firstPage, pending);
  }
}

}  // namespace kelvara::word::lo
