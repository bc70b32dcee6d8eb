#include "word/lo/FilterCatalog.h"

#include <com/sun/star/container/XContainerQuery.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XNameAccess.hpp>

#include <map>

namespace kelvara::word::lo {

using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;

std::vector<FilterInfo> readWriterFilters(const OfficeConnection& connection) {
  Reference<css::container::XContainerQuery> filters(
      connection.create("com.sun.star.document.FilterFactory"), UNO_QUERY_THROW);
  Reference<css::container::XNameAccess> types(
      connection.create("com.sun.star.document.TypeDetection"), UNO_QUERY_THROW);

  std::vector<FilterInfo> result;
  Reference<css::container::XEnumeration> it = filters->createSubSetEnumerationByQuery(
      "matchByDocumentService=com.sun.star.text.TextDocument");
  std::map<std::string, std::vector<std::string>> extensionsByType;
  while (it->hasMoreElements()) {
    Sequence<css::beans::PropertyValue> props;
    if (!(it->nextElement() >>= props)) {
      continue;
    }
    FilterInfo info;
    OUString text;
    if (findProperty(props, "Name") >>= text) {
      info.name = toUtf8(text);
    }
    if (findProperty(props, "UIName") >>= text) {
      info.uiName = toUtf8(text);
    }
    if (findProperty(props, "Type") >>= text) {
      info.type = toUtf8(text);
    }
    sal_Int32 flags = 0;
    findProperty(props, "Flags") >>= flags;
    info.flags = flags;
    if (info.uiName.empty()) {
      info.uiName = info.name;
    }
    auto known = extensionsByType.find(info.type);
    if (known == extensionsByType.end()) {
      std::vector<std::string> extensions;
      Sequence<css::beans::PropertyValue> typeProps;
      if (!info.type.empty() && types->hasByName(toOU(info.type)) &&
          (types->getByName(toOU(info.type)) >>= typeProps)) {
        Sequence<OUString> list;
        if (findProperty(typeProps, "Extensions") >>= list) {
          for (const auto& e : list) {
            extensions.push_back(toUtf8(e));
          }
        }
      }
      known = extensionsByType.emplace(info.type, std::move(extensions)).first;
    }
    info.extensions = known->second;
    result.push_back(std::move(info));
  }
  return result;
}

}  // namespace kelvara::word::lo
