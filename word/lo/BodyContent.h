#pragma once

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextTable.hpp>

#include <utility>
#include <vector>

#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// The whole body of a document as ranges that take paragraph and character properties in as
// few calls as the office allows. A text cursor over the body spans every paragraph and every
// table after the first paragraph, but it cannot start in a table: tables before the first
// paragraph are taken separately, each as one range over all its cells.
struct BodyContent {
  css::uno::Reference<css::text::XTextCursor> cursor;  // first paragraph to the end
  std::vector<css::uno::Reference<css::text::XTextTable>> leadingTables;
};

BodyContent wholeBody(const css::uno::Reference<css::frame::XModel>& model);

// Ranges that select all of a table's cells: one over the whole table, or, where the office
// cannot span the table (merged cells), one per cell.
std::vector<css::uno::Reference<css::beans::XPropertySet>> tableRanges(
    const css::uno::Reference<css::text::XTextTable>& table);

using PropertyValues = std::vector<std::pair<OUString, css::uno::Any>>;

// Sets the values on the whole body: one call for the cursor, one per value and table before
// the first paragraph.
void setOnBody(const BodyContent& body, const PropertyValues& values);

// The text of a table, a line per cell, row by row.
OUString tableText(const css::uno::Reference<css::text::XTextTable>& table);

}  // namespace kelvara::word::lo
