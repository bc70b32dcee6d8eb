#pragma once

#include <cstdint>
#include <string>

namespace kelvara::format {

// Page geometry for one orientation. Lengths are in points.
struct PageSetupSet {
  int32_t PaperSize = 7;  // A4; 41 = Custom
  double PageWidth = 792;
  double PageHeight = 612;
  double TopMargin = 56.7;
  double BottomMargin = 19.85;
  double LeftMargin = 19.85;
  double RightMargin = 19.85;
  double FooterDistance = 19.85;
  double HeaderDistance = 19.85;
  int32_t VerticalAlignment = 0;  // 0 Top, 1 Centered, 2 Justified, 3 Bottom
  int32_t SetIndex = 2;           // 2 Portrait, 3 Landscape

  struct Flags {
    bool PaperSize = false;
    bool PageWidth = false;
    bool PageHeight = false;
    bool TopMargin = true;
    bool BottomMargin = true;
    bool LeftMargin = true;
    bool RightMargin = true;
    bool FooterDistance = true;
    bool HeaderDistance = true;
    bool VerticalAlignment = true;
  } flags;
};

// Document-wide page values.
struct GeneralPageSetup {
  double Gutter = 0;
  bool GutterOnTop = false;
  bool OddAndEvenPagesHeaderFooter = false;
  bool FirstPageHeaderFooter = false;
  bool MirrorMargins = false;
  bool TwoPagesOnOne = false;
  int32_t Orientation = 0;  // 0 portrait, 1 landscape
  int32_t SectionStart = 2;

  struct Flags {
    bool OddAndEvenPagesHeaderFooter = false;
    bool DifferentFirstPageHeaderFooter = false;
    bool Gutter = false;
    bool GutterPos = false;
    bool MirrorMargins = false;
    bool TwoPagesOnOne = false;
    bool Orientation = false;
    bool SectionStart = false;  // no dialog sets it, no key stores it
  } flags;
};

struct ParagraphSetup {
  int32_t ParagraphAlignment = 0;  // 0 Left, 1 Centered, 2 Right, 3 Justified
  double ParagraphLeftIndent = 17;
  double ParagraphRightIndent = 17;
  double ParagraphFirstLineIndent = 0;
  double ParagraphSpaceBefore = 0;
  double ParagraphSpaceAfter = 0;
  int32_t ParagraphLineSpacingRule = 0;
  double ParagraphLineSpacing = 15;
  bool WidowControl = false;
  bool KeepWithNext = true;
  bool KeepTogether = true;
  bool PageBreakBefore = false;
  bool NoLineNumber = false;
  bool Hyphenation = true;

  struct Flags {
    bool ParagraphAlignment = false;
    bool LeftIndent = true;
    bool RightIndent = true;
    bool ParagraphSpaceBefore = false;
    bool ParagraphSpaceAfter = false;
    bool LineSpacingRule = false;
    bool LineSpacing = false;
    bool WidowControl = false;
    bool KeepWithNext = false;
    bool KeepTogether = false;
    bool PageBreakBefore = false;
    bool NoLineNumber = false;
    bool Hyphenation = false;
    bool FirstLineIndent = false;
  } flags;
};

struct FontSetup {
  std::string FontName = "Courier New";
  int32_t FontStyle = 0;  // 0 Normal, 1 Italic, 2 Bold, 3 Bold Italic
  int32_t FontSize = 12;
  int32_t FontShrink = 0;
  int32_t FontGrow = 0;
  int32_t FontSpacingType = 0;  // 0 Normal, 1 Expanded, 2 Reduced
  double FontSpacing = 0;
  int32_t FontPositionType = 0;  // 0 Normal, 1 Up, 2 Down
  int32_t FontPosition = 0;
  bool FontKerning = false;
  int32_t FontKerningValue = 0;
  int32_t FontScaling = 100;

  struct Flags {
    bool FontName = false;
    bool FontStyle = false;
    bool FontSize = false;
    bool FontShrink = false;
    bool FontGrow = false;
    bool FontSpacing = false;
    bool FontPosition = false;
    bool FontKerning = false;
    bool FontScaling = false;
  } flags;
};

struct UserDataFlags {
  bool UserName = false;
  bool UserInitials = false;
  bool UserAddr = false;
};

// A true flag switches the document's revision behaviour off; the values are always false.
struct RevisionSetup {
  bool TrackRevisions = false;
  bool PrintRevisions = false;
  bool ShowRevisions = false;

  struct Flags {
    bool TrackRevisions = false;
    bool PrintRevisions = false;
    bool ShowRevisions = false;
  } flags;
};

// Every formatting parameter with its enable flag; a value is applied only when its flag is set.
struct FormatParameterSet {
  PageSetupSet Portrait{};
  PageSetupSet Landscape = [] {
    PageSetupSet s;
    s.SetIndex = 3;
    return s;
  }();
  GeneralPageSetup General;
  ParagraphSetup Paragraph;
  FontSetup Font;
  UserDataFlags UserData;
  RevisionSetup Revisions;
};

}  // namespace kelvara::format
