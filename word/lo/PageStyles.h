#pragma once

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include <optional>
#include <string>
#include <vector>

#include "word/lo/Sections.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// The page style of that name; throws EngineError(Failed) when the document has none.
css::uno::Reference<css::beans::XPropertySet> pageStyle(
    const css::uno::Reference<css::frame::XModel>& model, const std::string& name);

// The page styles a section's pages use: its own and those that follow it (an imported section
// with a first page of its own starts with a first-page style whose follow style carries the
// other pages), each once.
std::vector<std::string> sectionPageStyles(const css::uno::Reference<css::frame::XModel>& model,
                                           const std::string& pageStyle);

// The style of the other pages when the page style is that of a section's first page only: its
// follow style is another one, which follows itself. Nullopt otherwise.
std::optional<std::string> followingPagesStyle(const css::uno::Reference<css::frame::XModel>& model,
                                               const std::string& pageStyle);

// The page styles of every page of the sections, each once, in the order of the sections.
std::vector<std::string> pageStylesOf(const css::uno::Reference<css::frame::XModel>& model,
                                      const std::vector<SectionRun>& sections);

// The Word paper size code of the page style's sheet (41 when it is of no listed size).
int32_t pageStylePaperSize(const css::uno::Reference<css::frame::XModel>& model,
                           const std::string& pageStyle);

// Starts the section with another page style (the paragraph or table that begins it carries the
// page style's name).
void setSectionPageStyle(const css::uno::Reference<css::frame::XModel>& model,
                         const SectionRun& section, const std::string& pageStyle);

}  // namespace kelvara::word::lo
