#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include "word/DocumentEngine.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Sets the given font values on all the body's text, tables included.
void applyFont(const css::uno::Reference<css::frame::XModel>& model,
               const FontFormatValues& values);

}  // namespace kelvara::word::lo
