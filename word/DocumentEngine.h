#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The word processor behind the conversions, as the pipeline sees it.
//
// Failure contract, for every engine:
// - One failure type, EngineError, whose kind says what state the engine is left in:
//   * Failed: the operation did not succeed; the engine and the open document are still
//     usable (a filter that cannot write, a page setup the document refuses).
//   * Lost: the engine process or its connection is gone; every open Document is dead (its
//     calls throw Lost) and the engine stays down until the next beginDocument().
//   * TimedOut: the document took longer than its time limit, so the engine was ended; the
//     state is that of Lost.
//   * Unavailable: the engine cannot be started or reached at all (connect, beginDocument).
// - Refusing a file is not a failure: open() returns null and lastErrorText() says why, in words
//   ("[Error:N] File is corrupt (...)"). A refused file leaves the engine as it was.
// - Recovery is the engine's own: beginDocument() relaunches a lost engine, restarts a worn one
//   and starts the next document's time limit. Callers never relaunch; they only go on with the
//   next document.
// - Threads: an engine and its documents are used by one thread at a time. Separate engines are
//   independent (each its own process), so a pool may use several at once.

namespace kelvara::word {

// Counts of one document, footnotes and endnotes excluded.
struct DocumentStatistics {
  int32_t pages = 0;
  int32_t paragraphs = 0;
  int32_t lines = 0;
  int32_t words = 0;
  int32_t charactersWithSpaces = 0;
  int32_t characters = 0;
};

// How to open one file: the format is an open format code of the input format list.
struct OpenRequest {
  std::string fileName;
  int32_t format = 0;
  bool confirmConversions = false;
  bool visible = false;
};

// Options of a plain-text save.
struct TextSaveOptions {
  int32_t lineEnding = 0;  // 0 CR/LF, 1 CR
  bool allowSubstitutions = false;
  bool insertLineBreaks = false;
};

// How to save: the format is a save format code of the output format list.
struct SaveRequest {
  std::string fileName;
  int32_t format = 0;
  std::optional<TextSaveOptions> text;
};

// A converter the engine has installed beyond the fixed formats.
struct FileConverter {
  std::string formatName;
  std::string extensions;  // blank-separated, without dots
  bool canOpen = false;
  int32_t openFormat = 0;
  bool canSave = false;
  int32_t saveFormat = 0;
};

// Page values to set; an empty field is left as the document has it. Lengths in points.
struct PageSetupValues {
  std::optional<int32_t> paperSize;
  std::optional<double> pageWidth, pageHeight;
  std::optional<double> topMargin, bottomMargin, leftMargin, rightMargin;
  std::optional<double> footerDistance, headerDistance;
  std::optional<int32_t> verticalAlignment;
  std::optional<double> gutter;
  std::optional<bool> gutterOnTop;
  std::optional<bool> oddAndEvenPagesHeaderFooter, differentFirstPageHeaderFooter;
  std::optional<bool> mirrorMargins, twoPagesOnOne;
  std::optional<int32_t> orientation;  // 0 portrait, 1 landscape
  std::optional<int32_t> sectionStart;
  // Switches the footer on, for page numbers to come, keeping the body where the margins put it:
  // one change of the page instead of two.
  std::optional<bool> footerOn;
  bool operator==(const PageSetupValues&) const = default;
};

struct ParagraphFormatValues {
  std::optional<int32_t> alignment;  // 0 left, 1 centred, 2 right, 3 justified
  std::optional<double> leftIndent, rightIndent, firstLineIndent;
  std::optional<double> spaceBefore, spaceAfter;
  std::optional<int32_t> lineSpacingRule;  // 0 single .. 5 multiple
  std::optional<double> lineSpacing;
  std::optional<bool> widowControl, keepWithNext, keepTogether, pageBreakBefore;
  std::optional<bool> noLineNumber, hyphenation;
  bool operator==(const ParagraphFormatValues&) const = default;
};

struct FontFormatValues {
  std::optional<std::string> name;
  std::optional<int32_t> style;  // 0 normal, 1 italic, 2 bold, 3 bold italic
  std::optional<double> size;
  std::optional<int32_t> shrinkSteps, growSteps;
  std::optional<double> spacing;   // points; negative condenses
  std::optional<double> position;  // points; positive raises
  std::optional<bool> kerning;
  std::optional<double> kerningFrom;
  std::optional<int32_t> scaling;  // percent
  bool operator==(const FontFormatValues&) const = default;
};

// What a spelling count found: the words the spelling checker rejects, and the languages of
// text that no installed dictionary covers (their words are not counted).
struct SpellingErrors {
  int32_t count = 0;
  std::vector<std::string> languagesWithoutDictionary;  // language tags such as "de-DE"
};

// The user data new text, comments and revisions are signed with; an absent field is left as
// the engine has it.
struct UserData {
  std::optional<std::string> name, initials, address;
  bool operator==(const UserData&) const = default;
};

// Where a reading of a section's text starts.
enum class SectionEdge { Start, End };

// The one failure type of an engine; see the contract at the top of this file.
class EngineError : public std::runtime_error {
 public:
  enum class Kind { Failed, Lost, TimedOut, Unavailable };
  EngineError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// One open document. Sections are numbered from 1; a section is a run of paragraphs sharing one
// page style.
class Document {
 public:
  virtual ~Document() = default;

  virtual std::string path() const = 0;  // folder, without the final separator
  virtual std::string name() const = 0;

  // Faults in the file that the engine repaired or ignored while loading it (the document was
  // read in full); each is one line for the warnings log. Empty for a clean file.
  virtual std::vector<std::string> loadWarnings() const = 0;

  virtual DocumentStatistics computeStatistics() = 0;
  virtual int32_t revisionCount() = 0;
  virtual SpellingErrors spellingErrorCount() = 0;

  virtual void setTrackRevisions(bool on) = 0;
  virtual void setPrintRevisions(bool on) = 0;
  virtual void setShowRevisions(bool on) = 0;
  virtual void setRemovePersonalInformation(bool on) = 0;

  virtual int32_t sectionCount() = 0;
  virtual int32_t sectionOrientation(int32_t section) = 0;  // 0 portrait, 1 landscape
  // The paper size code of the section's pages; 41 (custom) when no listed size fits.
  virtual int32_t sectionPaperSize(int32_t section) = 0;
  // Section 0 means the whole document.
  virtual void applyPageSetup(int32_t section, const PageSetupValues& values) = 0;
  virtual void applyParagraphFormat(const ParagraphFormatValues& values) = 0;
  // The line spacing rule of the whole content (0 single .. 5 multiple); -1 when its paragraphs
  // differ.
  virtual int32_t lineSpacingRule() = 0;
  virtual void applyFont(const FontFormatValues& values) = 0;
  virtual void addCentredPageNumbers(int32_t section, bool firstPage) = 0;
  // The section's text as a range shows it: each paragraph ends with a carriage return (13), a
  // page break before a paragraph is a form feed (12), a table is a cell mark (7) and a carriage
  // return. Reads at least `characters` characters from the given end, in whole paragraphs (all
  // of the text when the section is shorter), so that looking at a section's edges costs the
  // same however long the section is.
  virtual std::u32string sectionText(int32_t section, SectionEdge from, int32_t characters) = 0;
  // The whole text of the section.
  std::u32string sectionText(int32_t section) {
    return sectionText(section, SectionEdge::Start, std::numeric_limits<int32_t>::max());
  }
  // Deletes count characters of sectionText() from the section's start, or, when count is
  // negative, -count characters that end just before the section's last character. The section
  // break itself survives either way.
  virtual void deleteSectionCharacters(int32_t section, int32_t count) = 0;

  virtual void saveAs(const SaveRequest& request) = 0;
  // Closes without saving; further calls on the document are not allowed.
  virtual void close() = 0;
};

// The word processor that opens, measures, re-formats and saves documents.
class DocumentEngine {
 public:
  virtual ~DocumentEngine() = default;

  // Connects (starting the engine when needed); throws EngineError with Kind::Unavailable.
  virtual void connect() = 0;
  // Drops the connection; the engine may keep running for the next connect().
  virtual void disconnect() = 0;
  virtual bool connected() const = 0;
  // Ends the engine for good (program close).
  virtual void quit() = 0;

  // The format generation the tables follow ("12.0") and the real product for display.
  virtual std::string version() const = 0;
  virtual std::string productName() const = 0;

  virtual std::vector<FileConverter> fileConverters() = 0;
  // Empty when the engine can write the save format, else why it cannot.
  virtual std::string cannotSaveReason(int32_t saveFormat) = 0;
  // The plain-text save options the engine cannot honour, one sentence each; empty when it
  // honours them all.
  virtual std::vector<std::string> ignoredTextOptions(const TextSaveOptions& options) const = 0;

  // Prepares for the next document: reconnects or relaunches a lost engine, recycles a worn one,
  // and starts the document's time limit. Throws EngineError when the engine cannot be had.
  virtual void beginDocument(bool debug) = 0;
  // Ends the document's time limit.
  virtual void endDocument() = 0;

  // Null when the engine refuses the file; lastErrorText() then says why.
  virtual std::unique_ptr<Document> open(const OpenRequest& request) = 0;
  virtual std::string lastErrorText() const = 0;
  virtual int32_t openDocumentCount() = 0;
  virtual void closeAllDocuments() = 0;

  virtual void setUserData(const UserData& data) = 0;
};

}  // namespace kelvara::word
