#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <optional>

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

// How far the line walk trusts the cursor: past `plausible` steps each step must be seen to
// move, and it never takes more than `most`.
struct LineWalkBounds {
  int32_t plausible = 0;
  int32_t most = 0;
};

// Lines of the laid-out body text, counted by moving the document's view cursor down one line
// at a time. A cursor that reports steps without moving (the office does so in some layouts)
// ends the count where it stopped moving.
int32_t countLines(const css::uno::Reference<css::frame::XModel>& model, LineWalkBounds bounds);
// The same walk, done by a script inside the office in one call; nullopt when the office cannot
// run it (no script provider for Python, or the script is missing).
std::optional<int32_t> countLinesInOffice(const css::uno::Reference<css::frame::XModel>& model,
                                          LineWalkBounds bounds);
// The same walk, one call per step from here.
int32_t countLinesStepByStep(const css::uno::Reference<css::frame::XModel>& model,
                             LineWalkBounds bounds);

}  // namespace kelvara::word::lo
