#include "word/lo/PageStyles.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

#include <algorithm>

#include "word/PaperSizes.h"
#include "word/lo/PageLayoutPlan.h"

namespace kelvara::word::lo {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

Reference<css::container::XNameAccess> pageStyleFamily(const Reference<css::frame::XModel>& model) {
  Reference<css::style::XStyleFamiliesSupplier> families(model, UNO_QUERY_THROW);
  return Reference<css::container::XNameAccess>(
      families->getStyleFamilies()->getByName("PageStyles"), UNO_QUERY_THROW);
}

}  // namespace

Reference<css::beans::XPropertySet> pageStyle(const Reference<css::frame::XModel>& model,
                                              const std::string& name) {
  auto family = pageStyleFamily(model);
  if (!family->hasByName(toOU(name))) {
    throw EngineError(EngineError::Kind::Failed, "The document has no page style " + name);
  }
  return Reference<css::beans::XPropertySet>(family->getByName(toOU(name)), UNO_QUERY_THROW);
}

std::vector<std::string> sectionPageStyles(const Reference<css::frame::XModel>& model,
                                           const std::string& first) {
  auto family = pageStyleFamily(model);
  std::vector<std::string> styles;
  std::string name = first;
  while (!name.empty() && std::find(styles.begin(), styles.end(), name) == styles.end() &&
         family->hasByName(toOU(name))) {
    styles.push_back(name);
    Reference<css::beans::XPropertySet> style(family->getByName(toOU(name)), UNO_QUERY_THROW);
    OUString follow;
    style->getPropertyValue("FollowStyle") >>= follow;
    name = toUtf8(follow);
  }
  if (styles.empty()) {
    throw EngineError(EngineError::Kind::Failed, "The document has no page style " + first);
  }
  return styles;
}

std::optional<std::string> followingPagesStyle(const Reference<css::frame::XModel>& model,
                                               const std::string& name) {
  const std::vector<std::string> styles = sectionPageStyles(model, name);
  if (styles.size() != 2) {
    return std::nullopt;
  }
  OUString follow;
  pageStyle(model, styles[1])->getPropertyValue("FollowStyle") >>= follow;
  if (toUtf8(follow) != styles[1]) {
    return std::nullopt;  // pages alternating between two styles, as left and right pages do
  }
  return styles[1];
}

std::vector<std::string> pageStylesOf(const Reference<css::frame::XModel>& model,
                                      const std::vector<SectionRun>& sections) {
  std::vector<std::string> all;
  for (const auto& section : sections) {
    for (const auto& name : sectionPageStyles(model, section.pageStyle)) {
      if (std::find(all.begin(), all.end(), name) == all.end()) {
        all.push_back(name);
      }
    }
  }
  return all;
}

int32_t pageStylePaperSize(const Reference<css::frame::XModel>& model, const std::string& name) {
  auto style = pageStyle(model, name);
  sal_Int32 width = 0;
  sal_Int32 height = 0;
  style->getPropertyValue("Width") >>= width;
  style->getPropertyValue("Height") >>= height;
  return paperSizeCode(pointsFromHundredthsOfMm(width), pointsFromHundredthsOfMm(height));
}

void setSectionPageStyle(const Reference<css::frame::XModel>&, const SectionRun& section,
                         const std::string& name) {
  if (!section.elements.empty()) {
    Reference<css::beans::XPropertySet>(section.elements.front(), UNO_QUERY_THROW)
        ->setPropertyValue("PageDescName", css::uno::Any(toOU(name)));
  }
}

}  // namespace kelvara::word::lo
