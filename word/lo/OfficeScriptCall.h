#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <optional>
#include <string>

#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Runs a function of the office's own scripts (OfficeScripts.h) on a document in one call.
// Nullopt when the office cannot run the scripts (no Python script provider: it is not asked
// again) or the function failed on this document; the caller then walks step by step itself.
std::optional<css::uno::Any> callOfficeScript(const css::uno::Reference<css::frame::XModel>& model,
                                              const std::string& function,
                                              const css::uno::Sequence<css::uno::Any>& args);

}  // namespace kelvara::word::lo
