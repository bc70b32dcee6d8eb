#pragma once

// The keys of Kelva.ini in the order they are loaded, shared by the loader (KeyReader) and the
// writers (KeyWriter) so that both always agree on names, types, defaults and ranges. Each visit
// takes the record (const for writing) and a record holding the defaults.

#include <string>
#include <type_traits>

#include "config/ConfigSections.h"
#include "config/Settings.h"
#include "format/FormatParameterSet.h"

// Key name, field and default of a field whose key has the field's name.
#define KELVARA_KEY(name) #name, s.name, d.name

namespace kelvara::config::keys {

// "Configuration Data" after the command line: the mask and the single-file switch.
template <class Io, class S>
void visitInputSelection(Io& io, S& s, const Settings& d) {
  const std::string sec = kConfigurationDataSection;
  io.text(sec, KELVARA_KEY(InpMask));
  io.boolean(kOptionsSection, KELVARA_KEY(StandardInpMask));
  io.boolean(kOptionsSection, KELVARA_KEY(SingleFile));
}

template <class Io, class S>
void visitUserData(Io& io, S& s, const Settings& d) {
  const std::string sec = kUserDataSection;
  io.text(sec, KELVARA_KEY(UserName));
  io.text(sec, KELVARA_KEY(UserInitials));
  io.text(sec, KELVARA_KEY(UserAddress));
}

template <class Io, class S>
void visitExternalPrograms(Io& io, S& s, const Settings& d) {
  const std::string sec = kExternalProgramsSection;
  io.text(sec, KELVARA_KEY(ExternalConverterProgram));
  io.text(sec, KELVARA_KEY(WordsCountProgram));
  io.quoted(sec, KELVARA_KEY(ProgCmdLine1));
  io.quoted(sec, KELVARA_KEY(ProgCmdLine2));
  io.quoted(sec, KELVARA_KEY(ProgCmdLine3));
  io.text(sec, KELVARA_KEY(Prefix));
  io.boolean(sec, KELVARA_KEY(KeepExtProgOut));
  io.integer(sec, KELVARA_KEY(WordDiffWrn), 0, 100);
  io.integer(sec, KELVARA_KEY(LineDiffWrn), 0, 100);
  io.integer(sec, KELVARA_KEY(CharDiffWrn), 0, 100);
}

// "Options" up to the measurement unit check.
template <class Io, class S>
void visitOptions(Io& io, S& s, const Settings& d) {
  const std::string sec = kOptionsSection;
  io.boolean(sec, KELVARA_KEY(NewLogFile));
  io.boolean(sec, KELVARA_KEY(OverwriteLogs));
  io.boolean(sec, KELVARA_KEY(ExtConv));
  io.boolean(sec, KELVARA_KEY(MinimizeToTray));
  io.boolean(sec, KELVARA_KEY(ShowHint));
  io.boolean(sec, KELVARA_KEY(Debug));
  io.boolean(sec, KELVARA_KEY(ScanSubDir));
  io.boolean(sec, KELVARA_KEY(ScanHFolders));
  io.boolean(sec, KELVARA_KEY(ScanHFiles));
  io.boolean(sec, KELVARA_KEY(OutDirTree));
  io.boolean(sec, KELVARA_KEY(WordsCountCheck));
  io.boolean(sec, KELVARA_KEY(LinesCountCheck));
  io.boolean(sec, KELVARA_KEY(CharsCountCheck));
  io.boolean(sec, "Diff.Vert/Horiz.Pag.Parms", s.DiffVertHorizPagParms, d.DiffVertHorizPagParms);
  io.boolean(sec, KELVARA_KEY(RemoveEmptySections));
  io.boolean(sec, KELVARA_KEY(RemoveCRAtEndOfSections));
  io.boolean(sec, KELVARA_KEY(RemovePersonalInfo));
  io.boolean(sec, KELVARA_KEY(AddPagesNumbers));
  io.boolean(sec, KELVARA_KEY(AddOrigExtToFilNam));
  io.integer(sec, KELVARA_KEY(MeasurementUnits));  // checked by the caller with its own message
  io.boolean(sec, KELVARA_KEY(StopOnErrors));
  io.integer(sec, KELVARA_KEY(DocTimeout), 0);
  io.integer(sec, KELVARA_KEY(EngineRecycle), 0);
  io.integer(sec, KELVARA_KEY(Engines), 1, kMaxEngines);
}

template <class Io, class S>
void visitConversionOptions(Io& io, S& s, const Settings& d, const platform::DateTime& now) {
  const std::string sec = kConversionOptionsSection;
  io.integer(sec, KELVARA_KEY(DateMode), 0, 2);
  io.dateTime(sec, "NewFilesDate", s.NewFilesDate, now);
  if constexpr (!std::is_const_v<S>) {
    s.NewFilesDateUtc = platform::localToFileTime(s.NewFilesDate);
  }
  io.boolean(sec, KELVARA_KEY(CopyBoth));
  io.boolean(sec, KELVARA_KEY(TimeCheck));
  io.boolean(sec, KELVARA_KEY(CopyFilesAttr));
  io.integer(sec, KELVARA_KEY(ReadOnlyAttrb), 0, 2);
  io.integer(sec, KELVARA_KEY(HiddenAttrb), 0, 2);
  io.integer(sec, KELVARA_KEY(ArchiveAttrb), 0, 2);
  io.integer(sec, KELVARA_KEY(SystemAttrb), 0, 2);
  io.boolean(sec, KELVARA_KEY(IncludeFilesAttributes));
  io.integer(sec, KELVARA_KEY(IncludeReadOnly), 0, 2);
  io.integer(sec, KELVARA_KEY(IncludeHidden), 0, 2);
  io.integer(sec, KELVARA_KEY(IncludeArchive), 0, 2);
  io.integer(sec, KELVARA_KEY(IncludeSystem), 0, 2);
  io.boolean(sec, KELVARA_KEY(CopyFilesOwner));
  io.boolean(sec, KELVARA_KEY(CopyFilesGroup));
  io.boolean(sec, KELVARA_KEY(CopyFilesDACL));
  io.boolean(sec, KELVARA_KEY(CopyFilesSACL));
  io.boolean(sec, KELVARA_KEY(CopyFoldersOwner));
  io.boolean(sec, KELVARA_KEY(CopyFoldersGroup));
  io.boolean(sec, KELVARA_KEY(CopyFoldersDACL));
  io.boolean(sec, KELVARA_KEY(CopyFoldersSACL));
  io.boolean(sec, KELVARA_KEY(FilesCopySecurityAll));
  io.boolean(sec, KELVARA_KEY(FoldersCopySecurityAll));
  io.boolean(sec, KELVARA_KEY(FileTakeOwnership));
  io.boolean(sec, KELVARA_KEY(FolderTakeOwnership));
  io.boolean(sec, KELVARA_KEY(IncludeFileDate));
  io.boolean(sec, KELVARA_KEY(UseCreationDate));
  io.boolean(sec, KELVARA_KEY(UseLastWriteBoth));
  io.date(sec, "FromDate", s.FromDate, now.dateOnly());
  io.date(sec, "ToDate", s.ToDate, now.dateOnly());
  io.boolean(sec, KELVARA_KEY(IncludeFilesAtLeastesAttr));
  io.int64(sec, KELVARA_KEY(FileMinSize), 0);
  io.int64(sec, KELVARA_KEY(FileMaxSize), 0);
  io.boolean(sec, KELVARA_KEY(IncludeFilesNoLargerAttr));
  io.integer(sec, KELVARA_KEY(ByteKbyte1), 0, 1);
  io.integer(sec, KELVARA_KEY(ByteKbyte2), 0, 1);
  io.boolean(sec, KELVARA_KEY(IncludeFilesNewerThen));
  io.integer(sec, KELVARA_KEY(NewerCnt), 0);
  io.integer(sec, KELVARA_KEY(NewerType), 0, 3);
  io.boolean(sec, KELVARA_KEY(IncludeOlderThen));
  io.integer(sec, KELVARA_KEY(OlderCnt), 0);
  io.boolean(sec, KELVARA_KEY(NoVersionNum));
  io.boolean(sec, KELVARA_KEY(AddVersNum));
  io.boolean(sec, KELVARA_KEY(RenBeforeOverWr));
  io.text(sec, KELVARA_KEY(FileNamePrefix));
  io.text(sec, KELVARA_KEY(FileNameSuffix));
  io.boolean(sec, KELVARA_KEY(LogErrors));
  io.boolean(sec, KELVARA_KEY(LogRetries));
  io.boolean(sec, KELVARA_KEY(LogCopies));
  io.boolean(sec, KELVARA_KEY(LogDateChanges));
  io.boolean(sec, KELVARA_KEY(LogFileRenames));
  io.boolean(sec, KELVARA_KEY(LogFoldersOperation));
  io.boolean(sec, KELVARA_KEY(LogSlippedFiles));
  io.boolean(sec, KELVARA_KEY(LogWarnings));
  io.boolean(sec, KELVARA_KEY(LogEstimates));
  io.boolean(sec, KELVARA_KEY(LogDeletions));
  io.boolean(sec, KELVARA_KEY(LogAttributesChange));
  io.boolean(sec, KELVARA_KEY(LogSecurityChange));
  io.boolean(sec, KELVARA_KEY(TrayShowHint));
  io.boolean(sec, KELVARA_KEY(TrayIconEnabled));
  io.boolean(sec, KELVARA_KEY(TrayLeftPopup));
  io.boolean(sec, KELVARA_KEY(CloseToTray));
  io.boolean(sec, KELVARA_KEY(TrayIconAlwaysOn));
}

// The text-output options of "Options", loaded after "Conversion Options".
template <class Io, class S>
void visitTextOptions(Io& io, S& s, const Settings& d) {
  const std::string sec = kOptionsSection;
  io.boolean(sec, KELVARA_KEY(InsLineBreaks));
  io.boolean(sec, KELVARA_KEY(AllowSubst));
  io.integer(sec, KELVARA_KEY(LineTerm), 0, 1);
}

// The two switches that are stored but start off at every start of the program.
template <class Io, class S>
void visitSessionSwitches(Io& io, S& s) {
  io.writtenOnly(kOptionsSection, "NoConversion", s.NoConversion);
  io.writtenOnly(kOptionsSection, "Preprocess", s.Preprocess);
}

// One orientation record; width and height exist in the file only for a custom paper size.
template <class Io, class S>
void visitPageSet(Io& io, S& s, const format::PageSetupSet& d, const std::string& setName) {
  const std::string sec = pageSetupSection(setName);
  io.integer(sec, KELVARA_KEY(PaperSize), 0, kCustomPaperSize);
  if (s.PaperSize == kCustomPaperSize) {
    io.real(sec, KELVARA_KEY(PageWidth));
    io.real(sec, KELVARA_KEY(PageHeight));
  }
  io.real(sec, KELVARA_KEY(TopMargin));
  io.real(sec, KELVARA_KEY(BottomMargin));
  io.real(sec, KELVARA_KEY(LeftMargin));
  io.real(sec, KELVARA_KEY(RightMargin));
  io.real(sec, KELVARA_KEY(FooterDistance));
  io.real(sec, KELVARA_KEY(HeaderDistance));
  io.integer(sec, KELVARA_KEY(VerticalAlignment), 0, 3);
}

template <class Io, class S>
void visitGeneralPage(Io& io, S& s, const format::GeneralPageSetup& d, bool withOrientation) {
  const std::string sec = pageSetupSection(kGeneralSetName);
  io.boolean(sec, KELVARA_KEY(OddAndEvenPagesHeaderFooter));
  io.boolean(sec, KELVARA_KEY(FirstPageHeaderFooter));
  io.boolean(sec, KELVARA_KEY(GutterOnTop));
  io.real(sec, KELVARA_KEY(Gutter));
  io.boolean(sec, KELVARA_KEY(MirrorMargins));
  if (withOrientation) {
    io.integer(sec, KELVARA_KEY(Orientation), 0, 1);
  }
  io.fixedInteger(sec, KELVARA_KEY(SectionStart), 0, 4);
  io.boolean(sec, KELVARA_KEY(TwoPagesOnOne));
}

template <class Io, class S>
void visitParagraph(Io& io, S& s, const format::ParagraphSetup& d) {
  const std::string sec = kParagraphSetupSection;
  io.integer(sec, KELVARA_KEY(ParagraphAlignment), 0, 3);
  io.real(sec, KELVARA_KEY(ParagraphLeftIndent));
  io.real(sec, KELVARA_KEY(ParagraphRightIndent));
  io.real(sec, KELVARA_KEY(ParagraphFirstLineIndent));
  io.real(sec, KELVARA_KEY(ParagraphSpaceBefore));
  io.real(sec, KELVARA_KEY(ParagraphSpaceAfter));
  io.integer(sec, KELVARA_KEY(ParagraphLineSpacingRule), 0, 5);
  io.real(sec, KELVARA_KEY(ParagraphLineSpacing));
  io.boolean(sec, KELVARA_KEY(WidowControl));
  io.boolean(sec, KELVARA_KEY(KeepWithNext));
  io.boolean(sec, KELVARA_KEY(KeepTogether));
  io.boolean(sec, KELVARA_KEY(PageBreakBefore));
  io.boolean(sec, KELVARA_KEY(NoLineNumber));
  io.boolean(sec, KELVARA_KEY(Hyphenation));
}

template <class Io, class S>
void visitFont(Io& io, S& s, const format::FontSetup& d) {
  const std::string sec = kFontSetupSection;
  io.text(sec, KELVARA_KEY(FontName));
  io.integer(sec, KELVARA_KEY(FontStyle), 0, 3);
  io.integer(sec, KELVARA_KEY(FontSize));
  io.integer(sec, KELVARA_KEY(FontShrink), 0, 10);
  io.integer(sec, KELVARA_KEY(FontGrow), 0, 10);
  io.integer(sec, KELVARA_KEY(FontSpacingType), 0, 2);
  io.real(sec, KELVARA_KEY(FontSpacing));
  io.integer(sec, KELVARA_KEY(FontPositionType), 0, 2);
  io.integer(sec, KELVARA_KEY(FontPosition));
  io.boolean(sec, KELVARA_KEY(FontKerning));
  io.integer(sec, KELVARA_KEY(FontKerningValue));
  io.integer(sec, KELVARA_KEY(FontScaling));
}

template <class Io, class S>
void visitPageSetFlags(Io& io, S& s, const format::PageSetupSet::Flags& d,
                       const std::string& setName) {
  const std::string sec = pageFlagsSection(setName);
  io.boolean(sec, KELVARA_KEY(PaperSize));
  io.boolean(sec, KELVARA_KEY(PageWidth));
  io.boolean(sec, KELVARA_KEY(PageHeight));
  io.boolean(sec, KELVARA_KEY(TopMargin));
  io.boolean(sec, KELVARA_KEY(BottomMargin));
  io.boolean(sec, KELVARA_KEY(LeftMargin));
  io.boolean(sec, KELVARA_KEY(RightMargin));
  io.boolean(sec, KELVARA_KEY(FooterDistance));
  io.boolean(sec, KELVARA_KEY(HeaderDistance));
  io.boolean(sec, KELVARA_KEY(VerticalAlignment));
}

template <class Io, class S>
void visitGeneralPageFlags(Io& io, S& s, const format::GeneralPageSetup::Flags& d) {
  const std::string sec = pageFlagsSection(kGeneralSetName);
  io.boolean(sec, KELVARA_KEY(OddAndEvenPagesHeaderFooter));
  io.boolean(sec, KELVARA_KEY(DifferentFirstPageHeaderFooter));
  io.boolean(sec, KELVARA_KEY(Gutter));
  io.boolean(sec, KELVARA_KEY(GutterPos));
  io.boolean(sec, KELVARA_KEY(MirrorMargins));
  io.boolean(sec, KELVARA_KEY(TwoPagesOnOne));
  io.boolean(sec, KELVARA_KEY(Orientation));
}

template <class Io, class S>
void visitParagraphFlags(Io& io, S& s, const format::ParagraphSetup::Flags& d) {
  const std::string sec = ParagraphFlagsSection;
  io.boolean(sec, KELVARA_KEY(ParagraphAlignment));
  io.boolean(sec, KELVARA_KEY(LeftIndent));
  io.boolean(sec, KELVARA_KEY(RightIndent));
  io.boolean(sec, KELVARA_KEY(ParagraphSpaceBefore));
  io.boolean(sec, KELVARA_KEY(ParagraphSpaceAfter));
  io.boolean(sec, KELVARA_KEY(LineSpacing));
  io.boolean(sec, KELVARA_KEY(LineSpacingRule));
  io.boolean(sec, KELVARA_KEY(WidowControl));
  io.boolean(sec, KELVARA_KEY(KeepWithNext));
  io.boolean(sec, KELVARA_KEY(KeepTogether));
  io.boolean(sec, KELVARA_KEY(PageBreakBefore));
  io.boolean(sec, KELVARA_KEY(NoLineNumber));
  io.boolean(sec, KELVARA_KEY(Hyphenation));
  io.boolean(sec, KELVARA_KEY(FirstLineIndent));
}

template <class Io, class S>
void visitFontFlags(Io& io, S& s, const format::FontSetup::Flags& d) {
  const std::string sec = FontFlagsSection;
  io.boolean(sec, KELVARA_KEY(FontKerning));
  io.boolean(sec, KELVARA_KEY(FontName));
  io.boolean(sec, KELVARA_KEY(FontStyle));
  io.boolean(sec, KELVARA_KEY(FontSize));
  io.boolean(sec, KELVARA_KEY(FontShrink));
  io.boolean(sec, KELVARA_KEY(FontGrow));
  io.boolean(sec, KELVARA_KEY(FontSpacing));
  io.boolean(sec, KELVARA_KEY(FontPosition));
  io.boolean(sec, KELVARA_KEY(FontScaling));
}

template <class Io, class S>
void visitUserDataFlags(Io& io, S& s, const format::UserDataFlags& d) {
  const std::string sec = kUserDataFlagsSection;
  io.boolean(sec, KELVARA_KEY(UserName));
  io.boolean(sec, KELVARA_KEY(UserInitials));
  io.boolean(sec, KELVARA_KEY(UserAddr));
}

template <class Io, class S>
void visitRevisionFlags(Io& io, S& s, const format::RevisionSetup::Flags& d) {
  const std::string sec = kRevisionsFlagsSection;
  io.boolean(sec, KELVARA_KEY(TrackRevisions));
  io.boolean(sec, KELVARA_KEY(PrintRevisions));
  io.boolean(sec, KELVARA_KEY(ShowRevisions));
}

}  // namespace kelvara::config::keys

#undef KELVARA_KEY
