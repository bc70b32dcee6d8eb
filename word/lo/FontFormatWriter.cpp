#include "word/lo/FontFormatWriter.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertyState.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextTable.hpp>

#include <functional>

#include "word/lo/BodyContent.h"
#include "word/lo/FontSizeSteps.h"
#include "word/lo/FormatUnits.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// Word's font sizes and styles cover text of every script; the office keeps Western, Asian
// and complex-script text apart.
const char* const kHeights[] = {"CharHeight", "CharHeightAsian", "CharHeightComplex"};
const char* const kWeights[] = {"CharWeight", "CharWeightAsian", "CharWeightComplex"};
const char* const kPostures[] = {"CharPosture", "CharPostureAsian", "CharPostureComplex"};

// What a run of text of one height gets: its new height and, for a raise or drop, the
// escapement that is that many points at the new height.
using SizeDependent = std::function<PropertyValues(double height)>;

// The portions of a paragraph that carry text (fields and note anchors included); bookmarks,
// frames and the like are points or objects without a font.
bool carriesText(const OUString& type) {
  return type == "Text" || type == "TextField" || type == "Footnote" || type == "Ruby";
}

void setAll(const Reference<css::beans::XPropertySet>& range, const PropertyValues& values) {
  Reference<css::beans::XMultiPropertySet> multi(range, UNO_QUERY);
  if (!multi.is()) {
    for (const auto& [name, value] : values) {
      range->setPropertyValue(name, value);
    }
    return;
  }
  css::uno::Sequence<OUString> names(static_cast<sal_Int32>(values.size()));
  css::uno::Sequence<Any> anys(static_cast<sal_Int32>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    names.getArray()[i] = values[i].first;
    anys.getArray()[i] = values[i].second;
  }
  multi->setPropertyValues(names, anys);
}

double heightOf(const Any& value) {
  float height = 0;
  value >>= height;
  return height;
}

void walkText(const Reference<css::text::XText>& text, const SizeDependent& change);

// Each run of the paragraph by its own height. A paragraph without text gets its mark's
// height changed instead, which sets the height of its empty line.
void walkParagraph(const Reference<css::container::XEnumerationAccess>& paragraph,
                   const SizeDependent& change) {
  bool anyText = false;
  auto portions = paragraph->createEnumeration();
  while (portions->hasMoreElements()) {
    Reference<css::text::XTextRange> portion(portions->nextElement(), UNO_QUERY_THROW);
    Reference<css::beans::XMultiPropertySet> props(portion, UNO_QUERY_THROW);
    static const OUString kRead[] = {"CharHeight", "TextPortionType"};
    const auto read = props->getPropertyValues(css::uno::Sequence<OUString>(kRead, 2));
    OUString type;
    read[1] >>= type;
    if (!carriesText(type)) {
      continue;
    }
    // A portion with no characters (the one of an empty paragraph) takes no attributes.
    if (type == "Text" && portion->getString().isEmpty()) {
      continue;
    }
    anyText = true;
    setAll(Reference<css::beans::XPropertySet>(props, UNO_QUERY_THROW), change(heightOf(read[0])));
  }
  if (!anyText) {
    Reference<css::beans::XPropertySet> props(paragraph, UNO_QUERY_THROW);
    setAll(props, change(heightOf(props->getPropertyValue("CharHeight"))));
  }
}

void walkTable(const Reference<css::text::XTextTable>& table, const SizeDependent& change) {
  for (const OUString& name : table->getCellNames()) {
    walkText(Reference<css::text::XText>(table->getCellByName(name), UNO_QUERY_THROW), change);
  }
}

void walkText(const Reference<css::text::XText>& text, const SizeDependent& change) {
  Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY_THROW);
  auto elements = access->createEnumeration();
  while (elements->hasMoreElements()) {
    const Any element = elements->nextElement();
    if (Reference<css::text::XTextTable> table(element, UNO_QUERY); table.is()) {
      walkTable(table, change);
    } else {
      walkParagraph(Reference<css::container::XEnumerationAccess>(element, UNO_QUERY_THROW),
                    change);
    }
  }
}

// Applies a change that depends on each run's height. Text of one height throughout (the
// common case, and always after a size was set) takes it in one call; otherwise every run of
// text is visited, a few calls each.
void changeBySize(const Reference<css::frame::XModel>& model, const SizeDependent& change) {
  const BodyContent body = wholeBody(model);
  for (const auto& table : body.leadingTables) {
    walkTable(table, change);
  }
  Reference<css::beans::XPropertyState> state(body.cursor, UNO_QUERY_THROW);
  if (state->getPropertyState("CharHeight") != css::beans::PropertyState_AMBIGUOUS_VALUE) {
    Reference<css::beans::XPropertySet> cursor(body.cursor, UNO_QUERY_THROW);
    setAll(cursor, change(heightOf(cursor->getPropertyValue("CharHeight"))));
    return;
  }
  Reference<css::text::XTextDocument> document(model, UNO_QUERY_THROW);
  Reference<css::container::XEnumerationAccess> access(document->getText(), UNO_QUERY_THROW);
  auto elements = access->createEnumeration();
  bool leading = true;
  while (elements->hasMoreElements()) {
    const Any element = elements->nextElement();
    if (Reference<css::text::XTextTable> table(element, UNO_QUERY); table.is()) {
      if (!leading) {
        walkTable(table, change);
      }
      continue;
    }
    leading = false;
    walkParagraph(Reference<css::container::XEnumerationAccess>(element, UNO_QUERY_THROW), change);
  }
}

void addForAllScripts(PropertyValues& values, const char* const (&names)[3], const Any& value) {
  for (const char* name : names) {
    values.emplace_back(OUString::createFromAscii(name), value);
  }
}

}  // namespace

void applyFont(const Reference<css::frame::XModel>& model, const FontFormatValues& values) {
  PropertyValues set;
  if (values.name && !values.name->empty()) {
    set.emplace_back("CharFontName", Any(toOU(*values.name)));
  }
  if (values.size && *values.size > 0) {
    addForAllScripts(set, kHeights, Any(static_cast<float>(*values.size)));
  }
  if (values.style) {
    if (*values.style == 2 || *values.style == 3) {
      addForAllScripts(set, kWeights, Any(css::awt::FontWeight::BOLD));
    }
    if (*values.style == 1 || *values.style == 3) {
      addForAllScripts(set, kPostures, Any(css::awt::FontSlant_ITALIC));
    }
  }
  if (values.spacing) {
    set.emplace_back("CharKerning",
                     Any(static_cast<sal_Int16>(hundredthsOfMillimetre(*values.spacing))));
  }
  // Word kerns from a given font size up; the office kerns all sizes or none, so the size is
  // not kept: any size turns kerning on, 0 turns it off.
  if (values.kerning || values.kerningFrom) {
    const bool on = values.kerning ? *values.kerning : *values.kerningFrom > 0;
    set.emplace_back("CharAutoKerning", Any(on));
  }
  if (values.scaling) {
    set.emplace_back("CharScaleWidth", Any(static_cast<sal_Int16>(*values.scaling)));
  }
  setOnBody(wholeBody(model), set);

  const int steps = values.growSteps.value_or(0) - values.shrinkSteps.value_or(0);
  if (steps == 0 && !values.position) {
    return;
  }
  const std::optional<double> position = values.position;
  changeBySize(model, [steps, position](double height) {
    PropertyValues change;
    const double newHeight = steppedFontSize(height, steps);
    if (steps != 0) {
      addForAllScripts(change, kHeights, Any(static_cast<float>(newHeight)));
    }
    if (position) {
      change.emplace_back("CharEscapement",
                          Any(static_cast<sal_Int16>(escapementPercent(*position, newHeight))));
      // The raised or lowered text keeps its size.
      change.emplace_back("CharEscapementHeight", Any(static_cast<sal_Int8>(100)));
    }
    return change;
  });
}

}  // namespace kelvara::word::lo
