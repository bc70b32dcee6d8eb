#include "word/lo/PageStyleWriter.h"

#include <com/sun/star/drawing/TextVerticalAdjust.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/PageStyleLayout.hpp>

#include <algorithm>
#include <set>

#include "word/lo/PageStyles.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

int32_t readLength(const Reference<css::beans::XPropertySet>& style, const char* name) {
  sal_Int32 value = 0;
  style->getPropertyValue(OUString::createFromAscii(name)) >>= value;
  return value;
}

bool readFlag(const Reference<css::beans::XPropertySet>& style, const char* name) {
  bool value = false;
  style->getPropertyValue(OUString::createFromAscii(name)) >>= value;
  return value;
}

void set(const Reference<css::beans::XPropertySet>& style, const char* name, const Any& value) {
  style->setPropertyValue(OUString::createFromAscii(name), value);
}

// The office's header (or footer) as Word's: at its distance from the edge, with the gap to the
// margin as its spacing to the body, growing into that spacing before it moves the body.
void writeHeaderFooter(const Reference<css::beans::XPropertySet>& style, const char* part,
                       int32_t height) {
  const std::string prefix = part;
  set(style, (prefix + "IsDynamicHeight").c_str(), Any(true));
  set(style, (prefix + "DynamicSpacing").c_str(), Any(true));
  set(style, (prefix + "Height").c_str(), Any(sal_Int32(height)));
  set(style, (prefix + "BodyDistance").c_str(),
      Any(sal_Int32(std::max(height - kMinHeaderFooterHeight, 0))));
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

void writeMirrorMargins(const Reference<css::beans::XPropertySet>& style, bool mirror) {
  css::style::PageStyleLayout layout = css::style::PageStyleLayout_ALL;
  style->getPropertyValue("PageStyleLayout") >>= layout;
  if (mirror) {
    set(style, "PageStyleLayout", Any(css::style::PageStyleLayout_MIRRORED));
  } else if (layout == css::style::PageStyleLayout_MIRRORED) {
    set(style, "PageStyleLayout", Any(css::style::PageStyleLayout_ALL));
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
  if (layout.oddAndEvenPages) {
    if (headerOn) {
      set(style, "HeaderIsShared", Any(!*layout.oddAndEvenPages));
    }
    if (footerOn) {
      set(style, "FooterIsShared", Any(!*layout.oddAndEvenPages));
    }
  }
  if (layout.differentFirstPage) {
    set(style, "FirstIsShared", Any(!*layout.differentFirstPage));
  }
}

Reference<css::beans::XPropertySet> documentSettings(const Reference<css::frame::XModel>& model) {
  Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
  return Reference<css::beans::XPropertySet>(
      factory->createInstance("com.sun.star.text.DocumentSettings"), UNO_QUERY_THROW);
}

}  // namespace

StyleGeometry readGeometry(const Reference<css::beans::XPropertySet>& style) {
  StyleGeometry geometry;
  geometry.width = readLength(style, "Width");
  geometry.height = readLength(style, "Height");
  geometry.top = readLength(style, "TopMargin");
  geometry.bottom = readLength(style, "BottomMargin");
  geometry.left = readLength(style, "LeftMargin");
  geometry.right = readLength(style, "RightMargin");
  geometry.gutter = readLength(style, "GutterMargin");
  geometry.headerOn = readFlag(style, "HeaderIsOn");
  geometry.footerOn = readFlag(style, "FooterIsOn");
  if (geometry.headerOn) {
    geometry.headerHeight = readLength(style, "HeaderHeight");
  }
  if (geometry.footerOn) {
    geometry.footerHeight = readLength(style, "FooterHeight");
  }
  return geometry;
}

void writeGeometry(const Reference<css::beans::XPropertySet>& style, const StyleGeometry& before,
                   const StyleGeometry& after) {
  if (after.width != before.width || after.height != before.height) {
    set(style, "Width", Any(sal_Int32(after.width)));
    set(style, "Height", Any(sal_Int32(after.height)));
  }
  // Exports write the orientation from the flag, which some imports leave unset.
  if (readFlag(style, "IsLandscape") != (after.width > after.height)) {
    set(style, "IsLandscape", Any(after.width > after.height));
  }
  for (const auto& [name, from, to] : {std::tuple{"LeftMargin", before.left, after.left},
                                       std::tuple{"RightMargin", before.right, after.right},
                                       std::tuple{"TopMargin", before.top, after.top},
                                       std::tuple{"BottomMargin", before.bottom, after.bottom},
                                       std::tuple{"GutterMargin", before.gutter, after.gutter}}) {
    if (from != to) {
      set(style, name, Any(sal_Int32(to)));
    }
  }
  if (after.headerOn && (after.top != before.top || after.headerHeight != before.headerHeight)) {
    writeHeaderFooter(style, "Header", after.headerHeight);
  }
  if (after.footerOn && !before.footerOn) {
    set(style, "FooterIsOn", Any(true));
  }
  if (after.footerOn && (!before.footerOn || after.bottom != before.bottom ||
                         after.footerHeight != before.footerHeight)) {
    writeHeaderFooter(style, "Footer", after.footerHeight);
  }
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
  const Reference<css::beans::XPropertySet> settings = documentSettings(model);
  bool gutterOnTop = false;
  settings->getPropertyValue("GutterAtTop") >>= gutterOnTop;
  gutterOnTop = values.gutterOnTop.value_or(gutterOnTop);

  // A section whose first page has a style of its own already has a different first page; its
  // styles must not get another first page each.
  std::set<std::string> ownFirstPage;
  for (const auto& section : sections) {
    if (followingPagesStyle(model, section.pageStyle)) {
      for (const auto& name : sectionPageStyles(model, section.pageStyle)) {
        ownFirstPage.insert(name);
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
    const StyleGeometry before = readGeometry(style);
    plans.push_back({name, style, before, planPageSetup(before, values, gutterOnTop)});
  }

  if (values.gutterOnTop) {
    settings->setPropertyValue("GutterAtTop", Any(*values.gutterOnTop));
  }
  for (const auto& plan : plans) {
    writeGeometry(plan.style, plan.before, plan.after);
    if (values.verticalAlignment) {
      set(plan.style, "TextVerticalAdjust", Any(verticalAdjust(*values.verticalAlignment)));
    }
    if (values.mirrorMargins) {
      writeMirrorMargins(plan.style, *values.mirrorMargins);
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
