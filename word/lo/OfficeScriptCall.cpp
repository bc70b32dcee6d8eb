#include "word/lo/OfficeScriptCall.h"

#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/reflection/InvocationTargetException.hpp>
#include <com/sun/star/script/provider/ScriptFrameworkErrorException.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProvider.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>

#include <atomic>

#include "word/lo/OfficeScripts.h"

namespace kelvara::word::lo {

using css::uno::Reference;
using css::uno::UNO_QUERY;

std::optional<css::uno::Any> callOfficeScript(const Reference<css::frame::XModel>& model,
                                              const std::string& function,
                                              const css::uno::Sequence<css::uno::Any>& args) {
  // Once the office has said it cannot run the scripts, it is not asked again.
  static std::atomic<bool> unavailable{false};
  Reference<css::script::provider::XScriptProviderSupplier> supplier(model, UNO_QUERY);
  if (unavailable || !supplier.is()) {
    return std::nullopt;
  }
  try {
    Reference<css::script::provider::XScript> script =
        supplier->getScriptProvider()->getScript(toOU(officeScriptUri(function)));
    css::uno::Sequence<sal_Int16> outIndex;
    css::uno::Sequence<css::uno::Any> outParams;
    return script->invoke(args, outIndex, outParams);
  } catch (const css::script::provider::ScriptFrameworkErrorException&) {
    unavailable = true;
  } catch (const css::reflection::InvocationTargetException&) {
    // The script failed on this document; the caller's own walk says why, or does the work.
  } catch (const css::lang::IllegalArgumentException&) {
  }
  return std::nullopt;
}

}  // namespace kelvara::word::lo
