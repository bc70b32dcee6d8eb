#include "word/lo/OfficeConfig.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;

Reference<css::uno::XInterface> configNode(const OfficeConnection& connection,
                                           const std::string& nodePath, bool update) {
  Reference<css::lang::XMultiServiceFactory> provider(
      connection.create("com.sun.star.configuration.ConfigurationProvider"), UNO_QUERY_THROW);
  css::beans::NamedValue path;
  path.Name = "nodepath";
  path.Value <<= toOU(nodePath);
  Sequence<Any> args(1);
  args[0] <<= path;
  return provider->createInstanceWithArguments(
      update ? OUString("com.sun.star.configuration.ConfigurationUpdateAccess")
             : OUString("com.sun.star.configuration.ConfigurationAccess"),
      args);
}

}  // namespace

Any readOfficeSetting(const OfficeConnection& connection, const std::string& nodePath,
                      const std::string& name) {
  Reference<css::container::XNameAccess> node(configNode(connection, nodePath, false),
                                              UNO_QUERY_THROW);
  return node->getByName(toOU(name));
}

void writeOfficeSettings(const OfficeConnection& connection, const std::string& nodePath,
                         const std::vector<std::pair<std::string, Any>>& values) {
  Reference<css::uno::XInterface> node = configNode(connection, nodePath, true);
  Reference<css::container::XNameReplace> replace(node, UNO_QUERY_THROW);
  for (const auto& [name, value] : values) {
    replace->replaceByName(toOU(name), value);
  }
  Reference<css::util::XChangesBatch>(node, UNO_QUERY_THROW)->commitChanges();
}

}  // namespace kelvara::word::lo
