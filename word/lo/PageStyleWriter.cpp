#include "word/lo/PageStyleWriter.h"

#include <com/sun/star/drawing/TextVerticalAdjust.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/PageStyleLayout.hpp>

#include <com/sun/star/beans/XMultiPropertySet.hpp>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "word/lo/PageStyles.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

bool readFlag(const Reference<css::beans::XPropertySet>& style, const char* name) {
  bool value = false;
  style->getPropertyValue(OUString::createFromAscii(name)) >>= value;
  return value;
}

template <class T>
css::uno::Sequence<T> sequenceOf(const std::vector<T>& items) {
  return css::uno::Sequence<T>(items.data(), static_cast<sal_Int32>(items.size()));
}

// Values for one page style, written in one call: the office lays the document out again after
// each write to a page style, so writing them one by one costs a layout each.
class StyleWrites {
 public:
  explicit StyleWrites(Reference<css::beans::XPropertySet> style) : style_(std::move(style)) {}
  StyleWrites(const StyleWrites&) = delete;
  StyleWrites& operator=(const StyleWrites&) = delete;
  void add(const std::string& name, const Any& value) {
    names_.push_back(OUString::createFromAscii(name.c_str()));
    values_.push_back(value);
  }
  void flush() {
    if (names_.empty()) {
      return;
    }
    Reference<css::beans::XMultiPropertySet>(style_, UNO_QUERY_THROW)
        ->setPropertyValues(sequenceOf(names_), sequenceOf(values_));
    names_.clear();
    values_.clear();
  }

 private:
  Reference<css::beans::XPropertySet> style_;
  std::vector<OUString> names_;
  std::vector<Any> values_;
};

// The office's header (or footer) as Word's: at its distance from the edge, with the gap to the
// margin as its spacing to the body, growing into that spacing before it moves the body.
void writeHeaderFooter(StyleWrites& writes, const char* part, int32_t height) {
  const std::string prefix = part;
  writes.add(prefix + "IsDynamicHeight", Any(true));
  writes.add(prefix + "DynamicSpacing", Any(true));
  writes.add(prefix + "Height", Any(sal_Int32(height)));
  writes.add(prefix + "BodyDistance", Any(sal_Int32(std::max(height - kMinHeaderFooterHeight, 0))));
}

css::drawing::TextVerticalAdjust verticalAdjust(int32_t alignment) {
  switch (alignment) {
    case 1:
      return css::drawing::TextVerticalAdjust_CENTER;
    case 2:
      return css::drawing::TextVerticalAdjust_BLOCK;
    case 3:
      return css::drawing::TextVerticalAdjust_BOTTOM;
    default:
      return css::drawing::TextVerticalAdjust_TOP;
  }
}

void writeMirrorMargins(const Reference<css::beans::XPropertySet>& style, StyleWrites& writes,
                        bool mirror) {
  css::style::PageStyleLayout layout = css::style::PageStyleLayout_ALL;
  style->getPropertyValue("PageStyleLayout") >>= layout;
  if (mirror) {
    writes.add("PageStyleLayout", Any(css::style::PageStyleLayout_MIRRORED));
  } else if (layout == css::style::PageStyleLayout_MIRRORED) {
    writes.add("PageStyleLayout", Any(css::style::PageStyleLayout_ALL));
  }
}

// Holds the layout in the style when it has a header or a footer, else keeps it for later.
void writeLayout(const Reference<css::beans::XPropertySet>& style, const std::string& name,
                 const HeaderFooterLayout& layout, PendingLayouts& pending) {
  const bool headerOn = readFlag(style, "HeaderIsOn");
  const bool footerOn = readFlag(style, "FooterIsOn");
  if (!headerOn && !footerOn) {
    HeaderFooterLayout& waiting = pending[name];
    if (layout.oddAndEvenPages) {
      waiting.oddAndEvenPages = layout.oddAndEvenPages;
    }
    if (layout.differentFirstPage) {
      waiting.differentFirstPage = layout.differentFirstPage;
    }
    return;
  }
  StyleWrites writes(style);
  if (layout.oddAndEvenPages) {
    if (headerOn) {
      writes.add("HeaderIsShared", Any(!*layout.oddAndEvenPages));
    }
    if (footerOn) {
      writes.add("FooterIsShared", Any(!*layout.oddAndEvenPages));
    }
  }
  if (layout.differentFirstPage) {
    writes.add("FirstIsShared", Any(!*layout.differentFirstPage));
  }
  writes.flush();
}

Reference<css::beans::XPropertySet> documentSettings(const Reference<css::frame::XModel>& model) {
  Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
  return Reference<css::beans::XPropertySet>(
      factory->createInstance("com.sun.star.text.DocumentSettings"), UNO_QUERY_THROW);
}

void writeGeometry(StyleWrites& writes, const StyleGeometry& before, const StyleGeometry& after) {
  if (after.width != before.width || after.height != before.height) {
    writes.add("Width", Any(sal_Int32(after.width)));
    writes.add("Height", Any(sal_Int32(after.height)));
  }
  // Exports write the orientation from the flag, which some imports leave unset.
  if (before.landscapeFlag != (after.width > after.height)) {
    writes.add("IsLandscape", Any(after.width > after.height));
  }
  for (const auto& [name, from, to] : {std::tuple{"LeftMargin", before.left, after.left},
                                       std::tuple{"RightMargin", before.right, after.right},
                                       std::tuple{"TopMargin", before.top, after.top},
                                       std::tuple{"BottomMargin", before.bottom, after.bottom},
                                       std::tuple{"GutterMargin", before.gutter, after.gutter}}) {
    if (from != to) {
      writes.add(name, Any(sal_Int32(to)));
    }
  }
  if (after.headerOn && (after.top != before.top || after.headerHeight != before.headerHeight)) {
    writeHeaderFooter(writes, "Header", after.headerHeight);
  }
  if (after.footerOn && !before.footerOn) {
    writes.add("FooterIsOn", Any(true));
  }
  if (after.footerOn && (!before.footerOn || after.bottom != before.bottom ||
                         after.footerHeight != before.footerHeight)) {
    writeHeaderFooter(writes, "Footer", after.footerHeight);
  }
}

}  // namespace

StyleGeometry readGeometry(const Reference<css::beans::XPropertySet>& style) {
  // One call for all of them; the heights of a header or footer that is off read as 0.
  static const std::vector<OUString> names{
      "Width",        "Height",     "TopMargin",  "BottomMargin", "LeftMargin",   "RightMargin",
      "GutterMargin", "HeaderIsOn", "FooterIsOn", "HeaderHeight", "FooterHeight", "IsLandscape"};
  const css::uno::Sequence<Any> values =
      Reference<css::beans::XMultiPropertySet>(style, UNO_QUERY_THROW)
          ->getPropertyValues(sequenceOf(names));
  auto length = [&values](int i) {
    sal_Int32 value = 0;
    values[i] >>= value;
    return value;
  };
  auto flag = [&values](int i) {
    bool value = false;
    values[i] >>= value;
    return value;
  };
  StyleGeometry geometry;
  geometry.width = length(0);
  geometry.height = length(1);
  geometry.top = length(2);
  geometry.bottom = length(3);
  geometry.left = length(4);
  geometry.right = length(5);
  geometry.gutter = length(6);
  geometry.headerOn = flag(7);
  geometry.footerOn = flag(8);
  geometry.headerHeight = geometry.headerOn ? length(9) : 0;
  geometry.footerHeight = geometry.footerOn ? length(10) : 0;
  geometry.landscapeFlag = flag(11);
  return geometry;
}

void writeGeometry(const Reference<css::beans::XPropertySet>& style, const StyleGeometry& before,
                   const StyleGeometry& after) {
  StyleWrites writes(style);
  writeGeometry(writes, before, after);
  writes.flush();
}

void applyPendingLayout(const Reference<css::beans::XPropertySet>& style, const std::string& name,
                        PendingLayouts& pending) {
  const auto waiting = pending.find(name);
  if (waiting == pending.end()) {
    return;
  }
  const HeaderFooterLayout layout = waiting->second;
  pending.erase(waiting);
  writeLayout(style, name, layout, pending);
}

bool applyPageSetup(const Reference<css::frame::XModel>& model,
                    const std::vector<SectionRun>& sections, const PageSetupValues& values,
                    PendingLayouts& pending) {
  checkPageChoices(values);

  // A section whose first page has a style of its own already has a different first page; its
  // styles must not get another first page each.
  std::set<std::string> ownFirstPage;
  if (values.differentFirstPageHeaderFooter.value_or(false)) {
    for (const auto& section : sections) {
      if (followingPagesStyle(model, section.pageStyle)) {
        for (const auto& name : sectionPageStyles(model, section.pageStyle)) {
          ownFirstPage.insert(name);
        }
      }
    }
  }

  struct Plan {
    std::string name;
    Reference<css::beans::XPropertySet> style;
    StyleGeometry before, after;
  };
  std::vector<Plan> plans;
  for (const auto& name : pageStylesOf(model, sections)) {
    auto style = pageStyle(model, name);
    plans.push_back({name, style, readGeometry(style), {}});
  }
  // The gutter's side is a document setting, asked for only where a gutter is or will be.
  Reference<css::beans::XPropertySet> settings;
  bool gutterOnTop = false;
  if (values.gutter || values.gutterOnTop ||
      std::any_of(plans.begin(), plans.end(), [](const Plan& p) { return p.before.gutter != 0; })) {
    settings = documentSettings(model);
    settings->getPropertyValue("GutterAtTop") >>= gutterOnTop;
    gutterOnTop = values.gutterOnTop.value_or(gutterOnTop);
  }
  for (Plan& plan : plans) {
    plan.after = planPageSetup(plan.before, values, gutterOnTop);
  }

  if (values.gutterOnTop) {
    settings->setPropertyValue("GutterAtTop", Any(*values.gutterOnTop));
  }
  for (const auto& plan : plans) {
    {
      StyleWrites writes(plan.style);
      writeGeometry(writes, plan.before, plan.after);
      if (values.verticalAlignment) {
        writes.add("TextVerticalAdjust", Any(verticalAdjust(*values.verticalAlignment)));
      }
      if (values.mirrorMargins) {
        writeMirrorMargins(plan.style, writes, *values.mirrorMargins);
      }
      writes.flush();
    }
    HeaderFooterLayout layout{values.oddAndEvenPagesHeaderFooter,
                              values.differentFirstPageHeaderFooter};
    if (layout.differentFirstPage.value_or(false) && ownFirstPage.count(plan.name)) {
      layout.differentFirstPage.reset();
    }
    writeLayout(plan.style, plan.name, layout, pending);
  }

  // No different first page: the sections' first pages take the style of their other pages.
  bool restyled = false;
  if (values.differentFirstPageHeaderFooter == false) {
    for (const auto& section : sections) {
      if (const auto others = followingPagesStyle(model, section.pageStyle)) {
        setSectionPageStyle(model, section, *others);
        restyled = true;
      }
    }
  }
  return restyled;
}

}  // namespace kelvara::word::lo
