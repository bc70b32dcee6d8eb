#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include "word/lo/Sections.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Deletes characters of the section's text (as sectionText() gives it): count > 0 from the
// section's start, count < 0 the -count characters that end just before its last one. Whole
// paragraphs go as paragraphs, a form feed as the page break it stands for. The section keeps
// its break and its last paragraph end, so two sections never merge; a table in the way ends
// the deletion there.
void deleteSectionCharacters(const css::uno::Reference<css::frame::XModel>& model,
                             const SectionRun& section, int32_t count);

}  // namespace kelvara::word::lo
