#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <optional>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// A section: a run of body paragraphs (and tables) sharing one page style. A new section
// starts where a paragraph sets a page style of its own (which is how imported section breaks
// arrive).
struct SectionRun {
  int32_t firstElement = 0;  // index among the body's paragraphs and tables
  int32_t elementCount = 0;
  std::string pageStyle;
  // The section's paragraphs and tables, so that reading a section does not walk the body from
  // its start again.
  std::vector<css::uno::Any> elements;
  // Paragraphs of the section were deleted or joined: its elements must be read again.
  bool changed = false;
};

std::vector<SectionRun> readSections(const css::uno::Reference<css::frame::XModel>& model);
// The two ways readSections takes: in one call to the office's scripts (nullopt when the office
// cannot run them), or element by element from here. Both give the same sections.
std::optional<std::vector<SectionRun>> readSectionsInOffice(
    const css::uno::Reference<css::frame::XModel>& model);
std::vector<SectionRun> readSectionsStepByStep(
    const css::uno::Reference<css::frame::XModel>& model);

// 1 when the page style is wider than high, else 0. Import filters leave IsLandscape unset, so
// the size decides.
int32_t pageStyleOrientation(const css::uno::Reference<css::frame::XModel>& model,
                             const std::string& pageStyle);

// The text of a section as the word processor shows a range: paragraphs end with a carriage
// return; a page break inside the section is a form feed before the paragraph it comes before;
// a table counts as one cell mark and a carriage return. At least `characters` characters from
// the given edge, in whole paragraphs.
std::u32string sectionText(const css::uno::Reference<css::frame::XModel>& model,
                           const SectionRun& section, SectionEdge from, size_t characters);

}  // namespace kelvara::word::lo
