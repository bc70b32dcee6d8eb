#include "word/lo/StatisticsReader.h"

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/document/XDocumentProperties.hpp>
#include <com/sun/star/document/XDocumentPropertiesSupplier.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/text/XPageCursor.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/view/XLineCursor.hpp>
#include <com/sun/star/view/XViewCursor.hpp>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "word/lo/OfficeScriptCall.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

int32_t statisticValue(const css::uno::Sequence<css::beans::NamedValue>& stats, const char* name) {
  for (const auto& v : stats) {
    if (v.Name.equalsAscii(name)) {
      sal_Int32 n = 0;
      if (v.Value >>= n) {
        return n;
      }
    }
  }
  return 0;
}

}  // namespace

namespace {

// Where the view cursor is drawn: page and position on it.
struct CursorPlace {
  int16_t page = 0;
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const CursorPlace&) const = default;
};

CursorPlace placeOf(const Reference<css::text::XTextViewCursor>& cursor,
                    const Reference<css::text::XPageCursor>& pages) {
  const css::awt::Point point = cursor->getPosition();
  return {pages->getPage(), point.X, point.Y};
}

// Steps down from the start; past `watchFrom` steps, a step that leaves the cursor where it was
// ends the walk and does not count. Returns the steps that counted.
int32_t walkDown(const Reference<css::text::XTextViewCursor>& cursor,
                 const Reference<css::text::XTextRange>& bodyStart, int32_t watchFrom,
                 int32_t most) {
  Reference<css::view::XViewCursor> view(cursor, UNO_QUERY_THROW);
  Reference<css::text::XPageCursor> pages(cursor, UNO_QUERY_THROW);
  // Not gotoStart: that goes to the start of the text the cursor is in, which after an earlier
  // walk may be a frame or a table cell.
  cursor->gotoRange(bodyStart, false);
  int32_t moves = 0;
  // One line at a time: a jump over several lines refuses to cross into or out of tables and
  // sections, so only single steps see every line.
  while (moves < watchFrom && moves < most && view->goDown(1, false)) {
    ++moves;
  }
  if (moves < watchFrom) {
    return moves;
  }
  CursorPlace last = placeOf(cursor, pages);
  while (moves < most && view->goDown(1, false)) {
    const CursorPlace now = placeOf(cursor, pages);
    if (now == last) {
      break;
    }
    last = now;
    ++moves;
  }
  return moves;
}

}  // namespace

std::optional<int32_t> countLinesInOffice(const Reference<css::frame::XModel>& model,
                                          LineWalkBounds bounds) {
  css::uno::Sequence<css::uno::Any> args(3);
  args[0] <<= model;
  args[1] <<= bounds.plausible;
  args[2] <<= bounds.most;
  sal_Int64 lines = 0;
  if (const auto result = callOfficeScript(model, "count_lines", args);
      result && (*result >>= lines)) {
    return static_cast<int32_t>(lines);
  }
  return std::nullopt;
}

int32_t countLines(const Reference<css::frame::XModel>& model, LineWalkBounds bounds) {
  if (const auto lines = countLinesInOffice(model, bounds)) {
    return *lines;
  }
  return countLinesStepByStep(model, bounds);
}

int32_t countLinesStepByStep(const Reference<css::frame::XModel>& model, LineWalkBounds bounds) {
  Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY);
  if (!supplier.is()) {
    return 0;
  }
  Reference<css::text::XTextViewCursor> cursor = supplier->getViewCursor();
  Reference<css::view::XLineCursor> line(cursor, UNO_QUERY_THROW);
  const Reference<css::text::XTextRange> bodyStart =
      Reference<css::text::XTextDocument>(model, UNO_QUERY_THROW)->getText()->getStart();
  // Watching every step costs two more calls a line, so a walk is watched only once it has
  // gone further than the document's pages can hold; it is then walked again, watched.
  int32_t moves = walkDown(cursor, bodyStart, std::numeric_limits<int32_t>::max(),
                           std::min(bounds.plausible, bounds.most));
  if (moves >= bounds.plausible && bounds.plausible < bounds.most) {
    moves = walkDown(cursor, bodyStart, 0, bounds.most);
  }
  // On the last line a step down jumps to the end of the paragraph instead and still reports
  // success; the walk then ends at the document's end. When that end is not the start of a
  // line, the last step was such a jump and no line of its own.
  return line->isAtStartOfLine() ? moves + 1 : moves;
}

namespace {

// The office's statistics of the document, counted afresh.
css::uno::Sequence<css::beans::NamedValue> currentStatistics(
    const Reference<css::frame::XModel>& model) {
  // Reading the model's word count makes the office recount everything now; the document
  // properties would otherwise hold the counts saved in the file.
  Reference<css::beans::XPropertySet> modelProps(model, UNO_QUERY);
  if (modelProps.is()) {
    try {
      modelProps->getPropertyValue("WordCount");
    } catch (const css::beans::UnknownPropertyException&) {
    }
  }
  Reference<css::document::XDocumentPropertiesSupplier> supplier(model, UNO_QUERY_THROW);
  return supplier->getDocumentProperties()->getDocumentStatistics();
}

}  // namespace

void forgetStoredStatistics(const Reference<css::frame::XModel>& model) {
  // The office recounts only a document that has changed since it was loaded. Type a blank at
  // the end and take it away again, with change tracking paused so that no revision remains.
  Reference<css::beans::XPropertySet> props(model, UNO_QUERY_THROW);
  bool recording = false;
  props->getPropertyValue("RecordChanges") >>= recording;
  if (recording) {
    props->setPropertyValue("RecordChanges", css::uno::Any(false));
  }
  Reference<css::text::XText> text =
      Reference<css::text::XTextDocument>(model, UNO_QUERY_THROW)->getText();
  Reference<css::text::XTextCursor> cursor = text->createTextCursorByRange(text->getEnd());
  text->insertString(Reference<css::text::XTextRange>(cursor, UNO_QUERY_THROW), " ", false);
  cursor->goLeft(1, true);
  cursor->setString(OUString());
  if (recording) {
    props->setPropertyValue("RecordChanges", css::uno::Any(true));
  }
}

int32_t loadedCharacterCount(const Reference<css::frame::XModel>& model) {
  return statisticValue(currentStatistics(model), "CharacterCount");
}

namespace {

DocumentStatistics countsOf(const css::uno::Sequence<css::beans::NamedValue>& values) {
  DocumentStatistics stats;
  stats.pages = statisticValue(values, "PageCount");
  stats.paragraphs = statisticValue(values, "ParagraphCount");
  stats.words = statisticValue(values, "WordCount");
  stats.charactersWithSpaces = statisticValue(values, "CharacterCount");
  stats.characters = statisticValue(values, "NonWhitespaceCharacterCount");
  return stats;
}

}  // namespace

DocumentStatistics readStatistics(const Reference<css::frame::XModel>& model) {
  DocumentStatistics stats = countsOf(currentStatistics(model));
  // An empty document has no lines of text, though the layout shows one empty line. A line
  // holds at least one character unless it is an empty paragraph or table cell, which bounds
  // the walk should the layout ever lead the cursor in circles.
  if (stats.charactersWithSpaces > 0) {
    const int64_t pages = std::max(1, stats.pages);
    const auto clamp = [](int64_t n) {
      return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()));
    };
    // More than a hundred lines a page, besides a line for each paragraph, is rare enough
    // that the cursor's steps are then checked.
    const int64_t plausible = 100 * pages + stats.paragraphs + 100;
    const int64_t most = int64_t{stats.charactersWithSpaces} + stats.paragraphs + 64 * pages;
    const int32_t lines = countLines(model, {clamp(plausible), clamp(most)});
    // The office lays a document out in the background, so the pages counted before the walk
    // may be those laid out so far; the walk has laid out all of them.
    forgetStoredStatistics(model);
    stats = countsOf(currentStatistics(model));
    stats.lines = lines;
  }
  return stats;
}

}  // namespace kelvara::word::lo
