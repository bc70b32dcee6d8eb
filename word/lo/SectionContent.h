#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <limits>
#include <string>
#include <vector>

#include "word/lo/Sections.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// One body element of a section, as its text shows it.
struct SectionElement {
  css::uno::Any content;  // the paragraph or table
  bool table = false;
  std::u32string text;    // a paragraph's characters, without its end
  int32_t breakType = 0;  // com.sun.star.style.BreakType
  bool formFeed = false;  // a page break comes before it inside the section
  // Its characters in the section's text: the form feed, the text, the end (a cell mark and a
  // carriage return for a table).
  size_t length() const { return table ? 2 + (formFeed ? 1 : 0) : text.size() + 1 + formFeed; }
};

// The section's elements from the given edge, until they hold at least `characters` characters
// (all of them when the section is shorter), in the section's order.
std::vector<SectionElement> readSectionElements(
    const css::uno::Reference<css::frame::XModel>& model, const SectionRun& section,
    SectionEdge from = SectionEdge::Start, size_t characters = std::numeric_limits<size_t>::max());

// The section's text as sectionText() gives it.
std::u32string textOf(const std::vector<SectionElement>& elements);

}  // namespace kelvara::word::lo
