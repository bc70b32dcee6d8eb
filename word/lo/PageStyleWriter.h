#pragma once

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"
#include "word/lo/PageLayoutPlan.h"
#include "word/lo/Sections.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Header and footer layout asked for while a page style had neither header nor footer: the
// office keeps it only while one of them is on, so it waits for the first one switched on.
struct HeaderFooterLayout {
  std::optional<bool> oddAndEvenPages;
  std::optional<bool> differentFirstPage;
};
using PendingLayouts = std::map<std::string, HeaderFooterLayout>;

StyleGeometry readGeometry(const css::uno::Reference<css::beans::XPropertySet>& style);
// Writes what differs from the style's geometry before; a header or footer whose place changes
// is set to keep the body where it is when its text grows (as Word's do).
void writeGeometry(const css::uno::Reference<css::beans::XPropertySet>& style,
                   const StyleGeometry& before, const StyleGeometry& after);

// Applies the layout waiting for the page style, now that it has a header or a footer.
void applyPendingLayout(const css::uno::Reference<css::beans::XPropertySet>& style,
                        const std::string& name, PendingLayouts& pending);

// Word's page setup on the pages of the sections. Every value is checked against every page
// style before the first one is written, so a refused value leaves the document as it was.
// Returns true when a section now starts with another page style (a first page of its own was
// given up), so the sections must be read again.
// Two pages on one sheet and the section start have no counterpart in the office's page styles
// (no export writes them); they are left alone.
bool applyPageSetup(const css::uno::Reference<css::frame::XModel>& model,
                    const std::vector<SectionRun>& sections, const PageSetupValues& values,
                    PendingLayouts& pending);

}  // namespace kelvara::word::lo
