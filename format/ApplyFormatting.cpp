#include "format/ApplyFormatting.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace kelvara::format {
namespace {

// Lengths travel to the engine as single-precision numbers, as the word processor takes them.
double single(double points) {
  return static_cast<double>(static_cast<float>(points));
}

// A value goes to the engine only when its enable flag is on.
template <class T, class V>
void setIf(bool flag, std::optional<T>& field, const V& value) {
  if (flag) {
    field = value;
  }
}

constexpr char32_t kCarriageReturn = 13;
constexpr char32_t kFormFeed = 12;
constexpr char32_t kBlank = 32;
// The most characters a clean-up looks at.
constexpr int32_t kCleanUpReach = 100;

constexpr int32_t kRuleAtLeast = 3;
constexpr int32_t kRuleExactly = 4;

// A lost or ended office is not a clean-up's failure to pass over.
bool engineGone(const word::EngineError& e) {
  return e.kind() != word::EngineError::Kind::Failed;
}

template <class Step>
void passOverFailure(Step&& step) {
  try {
    step();
  } catch (const word::EngineError& e) {
    if (engineGone(e)) {
      throw;
    }
  } catch (const std::exception&) {
  }
}

}  // namespace

DocumentFormatter::DocumentFormatter(const FormatParameterSet& parameters,
                                     const std::string& engineVersion)
    : parameters_(parameters), revisionRules_(engineVersion == "10.0" || engineVersion == "11.0") {}

void DocumentFormatter::ApplyFormatting(const config::Settings& settings,
                                        word::DocumentEngine& engine, word::Document& document,
                                        word::FormattingReport& report) {
  report.currentSection = 0;
  applyRevisions(document);
  if (revisionRules_) {
    document.setRemovePersonalInformation(settings.RemovePersonalInfo);
  }
  applyUserData(settings, engine);
  applyGeneralPageSetup(document);
  applyFont(document);
  applyParagraphFormat(document);

  const int32_t sections = document.sectionCount();
  bool previousLandscape = false;
  for (int32_t i = 1; i <= sections; ++i) {
    report.logText += "Sect. " + std::to_string(i) + " ";
    report.currentSection = i;
    if (report.progress) {
      report.progress("Section Nr. " + std::to_string(i) +
                      (document.sectionOrientation(i) != 0 ? " - Landscape" : " - Portrait"));
    }
    // The page values go first, with the footer the page numbers need switched on in the same
    // change: the office lays the document out again after every change of a page.
    const bool landscape = document.sectionOrientation(i) != 0;
    applySectionPageSetup(document, i, landscape, settings.AddPagesNumbers);
    if (settings.AddPagesNumbers) {
      document.addCentredPageNumbers(i, true);
    }
    if (i == sections) {
      report.logText += landscape ? "Landsc. \n" : "Portr. \n";
    } else {
      report.logText += landscape ? "Landsc., " : "Portr., ";
    }
    if (landscape) {
      previousLandscape = true;
    } else {
      if (previousLandscape && settings.RemoveEmptySections) {
        RemoveEmptySectionStart(document, i);
      }
      previousLandscape = false;
    }
    if (settings.RemoveCRAtEndOfSections) {
      RemoveTrailingMarks(document, i);
    }
  }
  // What fails after the loop (saving) is no section's failure.
  report.currentSection = 0;
}

void DocumentFormatter::applyRevisions(word::Document& document) const {
  if (!revisionRules_) {
    return;
  }
  const RevisionSetup& r = parameters_.Revisions;
  if (r.flags.TrackRevisions) {
    document.setTrackRevisions(r.TrackRevisions);
  }
  if (r.flags.PrintRevisions) {
    document.setPrintRevisions(r.PrintRevisions);
  }
  if (r.flags.ShowRevisions) {
    document.setShowRevisions(r.ShowRevisions);
  }
}

void DocumentFormatter::applyUserData(const config::Settings& settings,
                                      word::DocumentEngine& engine) const {
  const UserDataFlags& flags = parameters_.UserData;
  word::UserData data;
  setIf(flags.UserName, data.name, settings.UserName);
  setIf(flags.UserInitials, data.initials, settings.UserInitials);
  setIf(flags.UserAddr, data.address, settings.UserAddress);
  if (data != word::UserData{}) {
    engine.setUserData(data);
  }
}

void DocumentFormatter::applyGeneralPageSetup(word::Document& document) const {
  const GeneralPageSetup& g = parameters_.General;
  word::PageSetupValues values;
  setIf(g.flags.SectionStart, values.sectionStart, g.SectionStart);
  setIf(g.flags.OddAndEvenPagesHeaderFooter, values.oddAndEvenPagesHeaderFooter,
        g.OddAndEvenPagesHeaderFooter);
  setIf(g.flags.DifferentFirstPageHeaderFooter, values.differentFirstPageHeaderFooter,
        g.FirstPageHeaderFooter);
  setIf(g.flags.MirrorMargins, values.mirrorMargins, g.MirrorMargins);
  setIf(g.flags.Gutter, values.gutter, single(g.Gutter));
  setIf(g.flags.GutterPos, values.gutterOnTop, g.GutterOnTop);
  setIf(g.flags.TwoPagesOnOne, values.twoPagesOnOne, g.TwoPagesOnOne);
  setIf(g.flags.Orientation, values.orientation, g.Orientation);
  if (values != word::PageSetupValues{}) {
    document.applyPageSetup(0, values);
  }
}

void DocumentFormatter::applyFont(word::Document& document) const {
  const FontSetup& f = parameters_.Font;
  word::FontFormatValues values;
  setIf(f.flags.FontName, values.name, f.FontName);
  setIf(f.flags.FontSize, values.size, f.FontSize);
  setIf(f.flags.FontStyle && f.FontStyle != 0, values.style, f.FontStyle);
  setIf(f.flags.FontShrink && f.FontShrink > 0, values.shrinkSteps, f.FontShrink);
  setIf(f.flags.FontGrow && f.FontGrow > 0, values.growSteps, f.FontGrow);
  setIf(f.flags.FontSpacing && f.FontSpacingType > 0, values.spacing, single(f.FontSpacing));
  setIf(f.flags.FontPosition && f.FontPositionType > 0, values.position, f.FontPosition);
  // Scales outside what the word processor accepts are passed over.
  setIf(f.flags.FontScaling && f.FontScaling >= 1 && f.FontScaling <= 600, values.scaling,
        f.FontScaling);
  // The kerning value is the size from which kerning applies; 0 switches it off.
  if (f.flags.FontKerning) {
    values.kerning = f.FontKerningValue > 0;
    values.kerningFrom = f.FontKerningValue;
  }
  if (values != word::FontFormatValues{}) {
    document.applyFont(values);
  }
}

void DocumentFormatter::applyParagraphFormat(word::Document& document) const {
  const ParagraphSetup& p = parameters_.Paragraph;
  word::ParagraphFormatValues values;
  setIf(p.flags.LeftIndent, values.leftIndent, single(p.ParagraphLeftIndent));
  setIf(p.flags.RightIndent, values.rightIndent, single(p.ParagraphRightIndent));
  setIf(p.flags.ParagraphSpaceBefore, values.spaceBefore, single(p.ParagraphSpaceBefore));
  setIf(p.flags.ParagraphSpaceAfter, values.spaceAfter, single(p.ParagraphSpaceAfter));
  setIf(p.flags.LineSpacingRule, values.lineSpacingRule, p.ParagraphLineSpacingRule);
  if (p.flags.LineSpacing) {
    // A spacing value means something only for the rules "at least" and "exactly"; the content's
    // rule is read back unless this very step sets it.
    const int32_t rule = values.lineSpacingRule ? *values.lineSpacingRule : [&] {
      if (values != word::ParagraphFormatValues{}) {
        document.applyParagraphFormat(values);
        values = {};
      }
      return document.lineSpacingRule();
    }();
    if (rule == kRuleAtLeast || rule == kRuleExactly) {
      values.lineSpacingRule = rule;
      values.lineSpacing = single(p.ParagraphLineSpacing);
    }
  }
  setIf(p.flags.ParagraphAlignment, values.alignment, p.ParagraphAlignment);
  setIf(p.flags.WidowControl, values.widowControl, p.WidowControl);
  setIf(p.flags.KeepWithNext, values.keepWithNext, p.KeepWithNext);
  setIf(p.flags.KeepTogether, values.keepTogether, p.KeepTogether);
  setIf(p.flags.PageBreakBefore, values.pageBreakBefore, p.PageBreakBefore);
  setIf(p.flags.NoLineNumber, values.noLineNumber, p.NoLineNumber);
  setIf(p.flags.Hyphenation, values.hyphenation, p.Hyphenation);
  setIf(p.flags.FirstLineIndent, values.firstLineIndent, single(p.ParagraphFirstLineIndent));
  if (values != word::ParagraphFormatValues{}) {
    document.applyParagraphFormat(values);
  }
}

void DocumentFormatter::applySectionPageSetup(word::Document& document, int32_t section,
                                              bool landscape, bool footerOn) const {
  const PageSetupSet& r = landscape ? parameters_.Landscape : parameters_.Portrait;
  word::PageSetupValues values;
  setIf(r.flags.PaperSize, values.paperSize, r.PaperSize);
  if (r.flags.PageWidth || r.flags.PageHeight) {
    // Width and height count only on custom paper.
    const int32_t paper = values.paperSize ? *values.paperSize : document.sectionPaperSize(section);
    if (paper == 41) {
      if (r.flags.PageWidth) {
        values.pageWidth = single(r.PageWidth);
      }
      if (r.flags.PageHeight) {
        values.pageHeight = single(r.PageHeight);
      }
    }
  }
  values.orientation = landscape ? 1 : 0;
  setIf(r.flags.TopMargin, values.topMargin, single(r.TopMargin));
  setIf(r.flags.BottomMargin, values.bottomMargin, single(r.BottomMargin));
  setIf(r.flags.LeftMargin, values.leftMargin, single(r.LeftMargin));
  setIf(r.flags.RightMargin, values.rightMargin, single(r.RightMargin));
  setIf(r.flags.FooterDistance, values.footerDistance, single(r.FooterDistance));
  setIf(r.flags.HeaderDistance, values.headerDistance, single(r.HeaderDistance));
  setIf(r.flags.VerticalAlignment, values.verticalAlignment, r.VerticalAlignment);
  setIf(footerOn, values.footerOn, true);
  document.applyPageSetup(section, values);
}

void RemoveEmptySectionStart(word::Document& document, int32_t section) {
  passOverFailure([&] {
    const std::u32string text =
        document.sectionText(section, word::SectionEdge::Start, kCleanUpReach);
    const int32_t m = std::min<int32_t>(static_cast<int32_t>(text.size()), kCleanUpReach);
    int32_t k = 0;
    while (k < m && text[static_cast<size_t>(k)] == kCarriageReturn) {
      ++k;
    }
    if (k < m && text[static_cast<size_t>(k)] == kFormFeed) {
      document.deleteSectionCharacters(section, k + 1);
    }
  });
}

void RemoveTrailingMarks(word::Document& document, int32_t section) {
  passOverFailure([&] {
    // The section's end: all of it when it is short, else at least the characters looked at.
    const std::u32string text =
        document.sectionText(section, word::SectionEdge::End, kCleanUpReach + 1);
    const int32_t c = static_cast<int32_t>(text.size());
    const int32_t lowest = c <= kCleanUpReach ? 1 : c - kCleanUpReach;
    int32_t k = 0;
    for (int32_t j = c; j >= lowest; --j) {
      const char32_t ch = text[static_cast<size_t>(j - 1)];
      if (ch != kCarriageReturn && ch != kBlank) {
        break;
      }
      ++k;
    }
    if (k - 1 > 0) {
      document.deleteSectionCharacters(section, -(k - 1));
    }
  });
}

}  // namespace kelvara::format
