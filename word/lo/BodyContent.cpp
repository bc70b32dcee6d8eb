#include "word/lo/BodyContent.h"

#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>

#include <rtl/ustrbuf.hxx>

#include <algorithm>

namespace kelvara::word::lo {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

BodyContent wholeBody(const Reference<css::frame::XModel>& model) {
  Reference<css::text::XTextDocument> document(model, UNO_QUERY_THROW);
  Reference<css::text::XText> text = document->getText();
  BodyContent body;
  Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY_THROW);
  auto elements = access->createEnumeration();
  Reference<css::text::XTextRange> firstParagraph;
  while (elements->hasMoreElements()) {
    const css::uno::Any element = elements->nextElement();
    Reference<css::text::XTextTable> table(element, UNO_QUERY);
    if (!table.is()) {
      firstParagraph.set(element, UNO_QUERY);
      break;
    }
    body.leadingTables.push_back(table);
  }
  // The cursor starts at the first paragraph itself: when a table comes first, the body's start
  // lies in its first cell.
  body.cursor = firstParagraph.is() ? text->createTextCursorByRange(firstParagraph->getStart())
                                    : text->createTextCursor();
  if (!firstParagraph.is()) {
    body.cursor->gotoStart(false);
  }
  body.cursor->gotoEnd(true);
  return body;
}

std::vector<Reference<css::beans::XPropertySet>> tableRanges(
    const Reference<css::text::XTextTable>& table) {
  const css::uno::Sequence<OUString> names = table->getCellNames();
  if (names.getLength() == 0) {
    return {};
  }
  try {
    Reference<css::table::XCellRange> cells(table, UNO_QUERY_THROW);
    return {Reference<css::beans::XPropertySet>(
        cells->getCellRangeByName(names[0] + ":" + names[names.getLength() - 1]), UNO_QUERY_THROW)};
  } catch (const css::uno::RuntimeException&) {
    // A table of merged cells is no rectangle; its cells are taken one by one.
  }
  std::vector<Reference<css::beans::XPropertySet>> ranges;
  for (const OUString& name : names) {
    Reference<css::text::XText> cell(table->getCellByName(name), UNO_QUERY_THROW);
    auto cursor = cell->createTextCursor();
    cursor->gotoEnd(true);
    ranges.emplace_back(cursor, UNO_QUERY_THROW);
  }
  return ranges;
}

void setOnBody(const BodyContent& body, const PropertyValues& values) {
  if (values.empty()) {
    return;
  }
  for (const auto& table : body.leadingTables) {
    for (const auto& range : tableRanges(table)) {
      for (const auto& [name, value] : values) {
        range->setPropertyValue(name, value);
      }
    }
  }
  css::uno::Sequence<OUString> names(static_cast<sal_Int32>(values.size()));
  css::uno::Sequence<Any> anys(static_cast<sal_Int32>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    names.getArray()[i] = values[i].first;
    anys.getArray()[i] = values[i].second;
  }
  Reference<css::beans::XMultiPropertySet>(body.cursor, UNO_QUERY_THROW)
      ->setPropertyValues(names, anys);
}

OUString tableText(const Reference<css::text::XTextTable>& table) {
  ::rtl::OUStringBuffer text;
  Reference<css::sheet::XCellRangeData> data(table, UNO_QUERY);
  try {
    if (data.is()) {
      for (const auto& row : data->getDataArray()) {
        for (const Any& cell : row) {
          OUString value;
          cell >>= value;
          text.append(value).append('\n');
        }
      }
      return text.makeStringAndClear();
    }
  } catch (const css::uno::RuntimeException&) {
    // Merged cells: the table has no rectangle of data; read it cell by cell.
  }
  for (const OUString& name : table->getCellNames()) {
    Reference<css::text::XText> cell(table->getCellByName(name), UNO_QUERY_THROW);
    text.append(cell->getString()).append('\n');
  }
  return text.makeStringAndClear();
}

}  // namespace kelvara::word::lo
