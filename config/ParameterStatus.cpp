#include "config/ParameterStatus.h"

#include <array>

#include "format/ConvertLengths.h"
#include "format/MeasurementUnits.h"
#include "format/PaperSizeNames.h"

namespace kelvara::config {
namespace {

using format::FormatParameterSet;
using format::PageSetupSet;
using format::paperSizeName;

constexpr const char* kUnused = " -Unused-";

constexpr std::array<const char*, 17> kPageItems = {"Paper Size",
                                                    "Page Width",
                                                    "Page Height",
                                                    "Page Top Margin",
                                                    "Page Bottom Margin",
                                                    "Page Left Margin",
                                                    "Page Right Margin",
                                                    "Page Footer Distance",
                                                    "Page Header Distance",
                                                    "Page Vertical Alignment",
                                                    "Page Odd and Even Pages Header/Footer",
                                                    "Page Different First Page Header Footer",
                                                    "Page Gutter",
                                                    "Page Gutter On Top",
                                                    "Page Mirror Margins",
                                                    "Page Two Pages On One",
                                                    "Page Orientation"};

std::string boolText(bool value) {
  return value ? "true" : "false";
}

// The flag and the value text of one of the ten geometry parameters of a record.
struct GeometryEntry {
  bool enabled;
  std::string value;
};

bool geometryEnabled(const PageSetupSet& s, size_t index);

GeometryEntry geometry(const PageSetupSet& s, size_t index, const platform::Locale& locale) {
  const auto number = [&locale](double v) { return locale.formatFloat(v); };
  switch (index) {
    case 0:
      return {s.flags.PaperSize, paperSizeName(s.PaperSize)};
    case 1:
      return {s.flags.PageWidth, number(s.PageWidth)};
    case 2:
      return {s.flags.PageHeight, number(s.PageHeight)};
    case 3:
      return {s.flags.TopMargin, number(s.TopMargin)};
    case 4:
      return {s.flags.BottomMargin, number(s.BottomMargin)};
    case 5:
      return {s.flags.LeftMargin, number(s.LeftMargin)};
    case 6:
      return {s.flags.RightMargin, number(s.RightMargin)};
    case 7:
      return {s.flags.FooterDistance, number(s.FooterDistance)};
    case 8:
      return {s.flags.HeaderDistance, number(s.HeaderDistance)};
    default:
      return {s.flags.VerticalAlignment, std::to_string(s.VerticalAlignment)};
  }
}

bool geometryEnabled(const PageSetupSet& s, size_t index) {
  const bool flags[kGeometryItems] = {
      s.flags.PaperSize,      s.flags.PageWidth,        s.flags.PageHeight,  s.flags.TopMargin,
      s.flags.BottomMargin,   s.flags.LeftMargin,       s.flags.RightMargin, s.flags.FooterDistance,
      s.flags.HeaderDistance, s.flags.VerticalAlignment};
  return flags[index];
}

// A geometry row: the Portrait record alone, or both records joined by " - ". Each side that is
// not applied reads "-Unused-", so an enabled Portrait value is never hidden behind a disabled
// Landscape one; with neither applied the row reads as every unused row does.
std::string geometryRow(const FormatParameterSet& p, size_t index, bool twoRecords,
                        const platform::Locale& locale) {
  const GeometryEntry portrait = geometry(p.Portrait, index, locale);
  if (!twoRecords) {
    return portrait.enabled ? portrait.value : kUnused;
  }
  const GeometryEntry landscape = geometry(p.Landscape, index, locale);
  if (!portrait.enabled && !landscape.enabled) {
    return kUnused;
  }
  const auto side = [](const GeometryEntry& e) { return e.enabled ? e.value : "-Unused-"; };
  return side(portrait) + " - " + side(landscape);
}

void addPageChecks(ParameterStatus& status, const FormatParameterSet& p) {
  const auto& g = p.General.flags;
  const bool generalFlags[] = {g.OddAndEvenPagesHeaderFooter,
                               g.DifferentFirstPageHeaderFooter,
                               g.Gutter,
                               g.GutterPos,
                               g.MirrorMargins,
                               g.TwoPagesOnOne,
                               g.Orientation};
  for (size_t i = 0; i < kPageItems.size(); ++i) {
    const bool checked =
        i < kGeometryItems ? geometryEnabled(p.Portrait, i) : generalFlags[i - kGeometryItems];
    status.page.push_back({kPageItems[i], checked});
  }
  if (status.twoRecords) {
    for (size_t i = 0; i < kGeometryItems; ++i) {
      status.page.push_back({kPageItems[i], geometryEnabled(p.Landscape, i)});
    }
  }
}

}  // namespace

ParameterStatus describeParameters(const FormatParameterSet& params, const Settings& settings,
                                   const std::string& wordVersion, const platform::Locale& locale) {
  ParameterStatus status;
  status.twoRecords = settings.DiffVertHorizPagParms;
  status.pageLabel = status.twoRecords ? "Portrait Page      Landscape Page" : "Page";
  status.revisionsShown = wordVersion == "10.0" || wordVersion == "11.0";

  // The caller's set stays in points; only this copy is shown in the display unit.
  FormatParameterSet p = params;
  if (settings.MeasurementUnits != format::kPoints) {
    status.conversionMessage =
        format::ConvertLengths(p, settings.MeasurementUnits, settings.MeasurementUnits);
  }

  addPageChecks(status, p);
  const auto& pf = p.Paragraph.flags;
  status.paragraph = {
      {"Alignment", pf.ParagraphAlignment},      {"Left Indent", pf.LeftIndent},
      {"Right Indent", pf.RightIndent},          {"Space Before", pf.ParagraphSpaceBefore},
      {"Space After", pf.ParagraphSpaceAfter},   {"Line Spacing Rule", pf.LineSpacingRule},
      {"Line Spacing", pf.LineSpacing},          {"Widow Control", pf.WidowControl},
      {"Keep With Next", pf.KeepWithNext},       {"Keep Together", pf.KeepTogether},
      {"Page Break Before", pf.PageBreakBefore}, {"No Line Number", pf.NoLineNumber},
      {"Hyphenation", pf.Hyphenation},           {"First Line Indent", pf.FirstLineIndent}};
  const auto& ff = p.Font.flags;
  status.font = {
      {"Name", ff.FontName},         {"Style", ff.FontStyle},     {"Size", ff.FontSize},
      {"Shrink", ff.FontShrink},     {"Grow", ff.FontGrow},       {"Spacing", ff.FontSpacing},
      {"Position", ff.FontPosition}, {"Kerning", ff.FontKerning}, {"Scaling", ff.FontScaling}};
  status.userData = {{"User Name", p.UserData.UserName},
                     {"User Initials", p.UserData.UserInitials},
                     {"User Address", p.UserData.UserAddr}};
  const auto& rf = p.Revisions.flags;
  status.revisions = {{"Track Revisions", rf.TrackRevisions},
                      {"Print Revisions", rf.PrintRevisions},
                      {"Show Revisions", rf.ShowRevisions}};

  auto& rows = status.values;
  for (size_t i = 0; i < kGeometryItems; ++i) {
    rows.push_back({kPageItems[i], geometryRow(p, i, status.twoRecords, locale)});
  }
  const auto row = [&rows](const char* name, bool enabled, const std::string& value) {
    rows.push_back({name, enabled ? value : kUnused});
  };
  const auto number = [&locale](double v) { return locale.formatFloat(v); };
  const auto& g = p.General;
  row(kPageItems[10], g.flags.OddAndEvenPagesHeaderFooter, boolText(g.OddAndEvenPagesHeaderFooter));
  row(kPageItems[11], g.flags.DifferentFirstPageHeaderFooter, boolText(g.FirstPageHeaderFooter));
  row(kPageItems[12], g.flags.Gutter, number(g.Gutter));
  row(kPageItems[13], g.flags.GutterPos, g.GutterOnTop ? "1" : "0");
  row(kPageItems[14], g.flags.MirrorMargins, boolText(g.MirrorMargins));
  row(kPageItems[15], g.flags.TwoPagesOnOne, boolText(g.TwoPagesOnOne));
  row(kPageItems[16], g.flags.Orientation, std::to_string(g.Orientation));

  const auto& a = p.Paragraph;
  row("Paragraph Alignment", pf.ParagraphAlignment, std::to_string(a.ParagraphAlignment));
  row("Paragraph Left Indent", pf.LeftIndent, number(a.ParagraphLeftIndent));
  row("Paragraph Right Indent", pf.RightIndent, number(a.ParagraphRightIndent));
  row("Paragraph Space Before", pf.ParagraphSpaceBefore, number(a.ParagraphSpaceBefore));
  row("Paragraph Space After", pf.ParagraphSpaceAfter, number(a.ParagraphSpaceAfter));
  row("Paragraph Line Spacing Rule", pf.LineSpacingRule,
      std::to_string(a.ParagraphLineSpacingRule));
  row("Paragraph Line Spacing", pf.LineSpacing, number(a.ParagraphLineSpacing));
  row("Paragraph Widow Control", pf.WidowControl, boolText(a.WidowControl));
  row("Paragraph Keep With Next", pf.KeepWithNext, boolText(a.KeepWithNext));
  row("Paragraph Keep Together", pf.KeepTogether, boolText(a.KeepTogether));
  row("Paragraph Page Break Before", pf.PageBreakBefore, boolText(a.PageBreakBefore));
  row("Paragraph No Line Number", pf.NoLineNumber, boolText(a.NoLineNumber));
  row("Paragraph Hyphenation", pf.Hyphenation, boolText(a.Hyphenation));
  row("Paragraph First Line Indent", pf.FirstLineIndent, number(a.ParagraphFirstLineIndent));
  row("Paragraph Out Line Level", g.flags.SectionStart, std::to_string(g.SectionStart));

  const auto& f = p.Font;
  row("Font Name", ff.FontName, f.FontName);
  row("Font Style", ff.FontStyle, std::to_string(f.FontStyle));
  row("Font Size", ff.FontSize, std::to_string(f.FontSize));
  row("Font Shrink", ff.FontShrink, std::to_string(f.FontShrink));
  row("Font Grow", ff.FontGrow, std::to_string(f.FontGrow));
  row("Font Spacing", ff.FontSpacing, number(f.FontSpacing));
  row("Font Position", ff.FontPosition, std::to_string(f.FontPosition));
  row("Font Kerning", ff.FontKerning, std::to_string(f.FontKerningValue));
  row("Font Scaling", ff.FontScaling, std::to_string(f.FontScaling));

  row("User Name", p.UserData.UserName, settings.UserName);
  row("User Initials", p.UserData.UserInitials, settings.UserInitials);
  row("User Address", p.UserData.UserAddr, settings.UserAddress);

  const auto& r = p.Revisions;
  row("Track Revisions", rf.TrackRevisions, boolText(r.TrackRevisions));
  row("Print Revisions", rf.PrintRevisions, boolText(r.PrintRevisions));
  row("Show Revisions", rf.ShowRevisions, boolText(r.ShowRevisions));
  return status;
}

}  // namespace kelvara::config
