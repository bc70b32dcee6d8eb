#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include "word/DocumentEngine.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Counts of a loaded text document: the office's own statistics for pages, paragraphs, words
// and characters (headers, footers and notes included, as the office counts them), and the
// layout for lines (the office keeps no line count).
DocumentStatistics readStatistics(const css::uno::Reference<css::frame::XModel>& model);

// Makes the office count afresh a document whose file brought its own statistics (the
// OpenDocument family), which it would otherwise report unchecked.
void forgetStoredStatistics(const css::uno::Reference<css::frame::XModel>& model);

// Characters of the body text (with spaces) as the office counts them now.
int32_t loadedCharacterCount(const css::uno::Reference<css::frame::XModel>& model);

// Lines of the laid-out body text, counted by moving the document's view cursor down one line
// at a time (at most maxLines steps).
int32_t countLines(const css::uno::Reference<css::frame::XModel>& model, int32_t maxLines);

}  // namespace kelvara::word::lo
