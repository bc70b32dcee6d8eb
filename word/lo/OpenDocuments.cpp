#include "word/lo/OpenDocuments.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <vector>

#include "word/lo/OfficeSupervisor.h"

namespace kelvara::word::lo {

using css::uno::Reference;
using css::uno::UNO_QUERY;

void closeQuietly(const Reference<css::lang::XComponent>& component) {
  try {
    Reference<css::util::XCloseable> closeable(component, UNO_QUERY);
    if (closeable.is()) {
      closeable->close(true);
    } else if (component.is()) {
      component->dispose();
    }
  } catch (const css::uno::Exception&) {
  }
}

int32_t countOpenDocuments(OfficeSupervisor& office) {
  office.requireConnection("counting documents");
  try {
    int32_t count = 0;
    auto it = office.connection().desktop()->getComponents()->createEnumeration();
    while (it->hasMoreElements()) {
      Reference<css::frame::XModel> model(it->nextElement(), UNO_QUERY);
      if (model.is()) {
        ++count;
      }
    }
    return count;
  } catch (...) {
    office.fail("counting documents");
  }
}

void closeOpenDocuments(OfficeSupervisor& office) {
  office.requireConnection("closing documents");
  try {
    std::vector<Reference<css::lang::XComponent>> open;
    auto it = office.connection().desktop()->getComponents()->createEnumeration();
    while (it->hasMoreElements()) {
      Reference<css::lang::XComponent> component(it->nextElement(), UNO_QUERY);
      if (component.is()) {
        open.push_back(component);
      }
    }
    for (const auto& component : open) {
      closeQuietly(component);
    }
  } catch (...) {
    office.fail("closing documents");
  }
}

}  // namespace kelvara::word::lo
