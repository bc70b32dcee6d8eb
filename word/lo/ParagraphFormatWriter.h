#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Sets the given paragraph values on every paragraph of the body, tables included. A page
// break before is not given to the elements that start a section (their indices among the
// body's paragraphs and tables, in order), nor to the body's first.
void applyParagraphFormat(const css::uno::Reference<css::frame::XModel>& model,
                          const ParagraphFormatValues& values,
                          const std::vector<int32_t>& sectionStarts);

// Word's line spacing rule of the whole body; -1 when its paragraphs differ in it.
int32_t bodyLineSpacingRule(const css::uno::Reference<css::frame::XModel>& model);

}  // namespace kelvara::word::lo
