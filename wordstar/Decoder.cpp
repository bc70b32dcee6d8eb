#include "wordstar/Decoder.h"

#include <cstdio>
#include <utility>

#include "wordstar/CodePage437.h"
#include "wordstar/Detection.h"
#include "wordstar/DotCommand.h"
#include "wordstar/Overprint.h"

namespace kelvara::wordstar {
namespace {

constexpr unsigned char kBold = 0x02;
constexpr unsigned char kDoubleStrike = 0x04;
constexpr unsigned char kOverprint = 0x08;
constexpr unsigned char kTab = 0x09;
constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kFormFeed = 0x0C;
constexpr unsigned char kReturn = 0x0D;
constexpr unsigned char kBindingSpace = 0x0F;
constexpr unsigned char kUnderline = 0x13;
constexpr unsigned char kSuperscript = 0x14;
constexpr unsigned char kSubscript = 0x16;
constexpr unsigned char kStrikeOut = 0x18;
constexpr unsigned char kItalic = 0x19;
constexpr unsigned char kEndOfFile = 0x1A;
constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kEscapeEnd = 0x1C;
constexpr unsigned char kSequence = 0x1D;
constexpr unsigned char kSoftHyphen = 0x1E;
constexpr unsigned char kSoftHyphenAtLineEnd = 0x1F;
constexpr unsigned char kSoftReturn = 0x8D;
constexpr unsigned char kSoftSpace = 0xA0;

// Double strike prints darker, which a reader takes for bold; it toggles on its own.
constexpr uint16_t kDoubleStrikeBit = 0x100;

std::string offsetText(size_t offset) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "byte %zu (0x%zX)", offset, offset);
  return buf;
}

enum class LineEnd { None, Hard, Soft, Overprint };

// What the decoder knows about the paragraph it is filling.
struct ParagraphState {
  Paragraph paragraph;
  size_t lineStart = 0;  // first cell of the current printed line
  uint16_t toggles = 0;
  bool overprintNext = false;
  std::optional<size_t> overprintColumn;
  bool lineHasText = false;
  int leadingSoftSpaces = 0;
  int printedLine = 0;
  int firstLineMargin = 0;
  std::optional<int> nextLinesMargin;
  bool softBreak = false;
  bool softWrap = false;
  bool softHyphen = false;
};

class Decoder {
 public:
  Decoder(std::string_view bytes, Generation generation)
      : bytes_(bytes), extended_(generation == Generation::Extended) {
    document_.generation = generation;
    document_.sections.emplace_back();
    // A file whose lines all end in a bare carriage return uses it as its line end; elsewhere a
    // bare one prints the next line over the current one.
    returnOnly_ = bytes.find('\r') != std::string_view::npos &&
                  bytes.find("\r\n") == std::string_view::npos &&
                  bytes.find("\r\x8A") == std::string_view::npos;
  }

  // The reason the file cannot be read, or nullopt when it was read to its end.
  std::optional<std::string> run() {
    size_t pos = 0;
    while (pos < bytes_.size()) {
      const unsigned char b = at(pos);
      if (extended_ && b == kSequence) {
        if (auto error = skipSequence(pos)) {
          return error;
        }
        continue;
      }
      if (b == kEndOfFile) {
        break;
      }
      if (atLineStart_ && (b & 0x7F) == '.' && (b == '.' || !extended_)) {
        const auto [end, length] = findLineEnd(pos);
        const std::string line = stripped(pos, end);
        if (isDotCommand(line)) {
          dotCommand(line, pos, end);
          pos = end + length;
          continue;
        }
      }
      size_t length = 0;
      const LineEnd kind = lineEndAt(pos, &length);
      if (kind != LineEnd::None) {
        pos += length;
        lineEnd(kind);
        continue;
      }
      atLineStart_ = false;
      character(pos, false);
    }
    if (!state_.paragraph.cells.empty()) {
      endParagraph();
    }
    return std::nullopt;
  }

  Document take() { return std::move(document_); }

 private:
  unsigned char at(size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  std::optional<std::string> skipSequence(size_t& pos) const {
    if (pos + 3 > bytes_.size()) {
      return "the file is truncated: the 0x1D sequence at " + offsetText(pos) +
             " ends before its length";
    }
    const size_t length = at(pos + 1) | (size_t{at(pos + 2)} << 8);
    const size_t end = pos + 3 + length;
    if (end > bytes_.size()) {
      return "the file is truncated: the 0x1D sequence at " + offsetText(pos) + " needs " +
             std::to_string(end - bytes_.size()) + " more bytes than the file has";
    }
    if (length == 0 || at(end - 1) != kSequence) {
      return "the file is damaged: the 0x1D sequence at " + offsetText(pos) +
             " does not end with 0x1D where its length says";
    }
    pos = end;
    return std::nullopt;
  }

  LineEnd lineEndAt(size_t pos, size_t* length) const {
    const unsigned char b = at(pos);
    const bool feedFollows =
        pos + 1 < bytes_.size() && (at(pos + 1) == kLineFeed || at(pos + 1) == (kLineFeed | 0x80));
    if (b == kSoftReturn) {
      *length = feedFollows ? 2 : 1;
      return LineEnd::Soft;
    }
    if (b == kReturn) {
      *length = feedFollows ? 2 : 1;
      return feedFollows || returnOnly_ ? LineEnd::Hard : LineEnd::Overprint;
    }
    if (b == kLineFeed || (!extended_ && b == (kLineFeed | 0x80))) {
      *length = 1;
      return LineEnd::Hard;
    }
    return LineEnd::None;
  }

  // Where the line that starts at pos ends (its line-end bytes, or the end of the text) and
  // how many bytes the line end takes. Sequences and escaped characters are passed over, since
  // their bytes may look like line ends.
  std::pair<size_t, size_t> findLineEnd(size_t pos) const {
    while (pos < bytes_.size()) {
      const unsigned char b = at(pos);
      if (b == kEndOfFile) {
        return {pos, 0};
      }
      if (b == kEscape && pos + 2 < bytes_.size() && at(pos + 2) == kEscapeEnd) {
        pos += 3;
        continue;
      }
      if (extended_ && b == kSequence) {
        size_t next = pos;
        if (skipSequence(next)) {
          return {pos, 0};  // the main loop reports the broken sequence
        }
        pos = next;
        continue;
      }
      size_t length = 0;
      if (lineEndAt(pos, &length) != LineEnd::None) {
        return {pos, length};
      }
      ++pos;
    }
    return {pos, 0};
  }

  // The bytes as characters for reading a command: high bits cleared (3.x/4.x).
  std::string stripped(size_t begin, size_t end) const {
    std::string line(bytes_.substr(begin, end - begin));
    if (!extended_) {
      for (char& c : line) {
        c = static_cast<char>(c & 0x7F);
      }
    }
    return line;
  }

  void dotCommand(const std::string& line, size_t begin, size_t end) {
    // A command line breaks the text, whatever kind of return came before it.
    if (!state_.paragraph.cells.empty()) {
      endParagraph();
    }
    resetLine();
    const DotCommand command = parseDotCommand(line);
    switch (command.kind) {
      case DotCommand::Kind::PageBreak:
        pendingPageBreak_ = true;
        break;
      case DotCommand::Kind::Header:
      case DotCommand::Kind::Footer:
        setHeadingLine(command.kind == DotCommand::Kind::Header, command.line,
                       inlineText(begin + command.textStart, end));
        break;
      case DotCommand::Kind::CentreOn:
        centred_ = true;
        break;
      case DotCommand::Kind::CentreOff:
        centred_ = false;
        break;
      case DotCommand::Kind::Other:
        break;
    }
  }

  // A header or footer line: the text of a command, with "#" for the page number.
  Paragraph inlineText(size_t begin, size_t end) {
    ParagraphState saved = std::exchange(state_, ParagraphState{});
    size_t pos = begin;
    while (pos < end) {
      if (extended_ && at(pos) == kSequence) {
        if (skipSequence(pos)) {
          ++pos;
        }
        continue;
      }
      character(pos, true);
    }
    trimEnd(state_.paragraph);
    Paragraph text = std::move(state_.paragraph);
    text.indent = 0;
    text.firstLineOffset = 0;
    state_ = std::move(saved);
    return text;
  }

  void setHeadingLine(bool header, int line, Paragraph text) {
    Section* section = &document_.sections.back();
    if (!section->body.empty()) {
      // A new header or footer applies from here on; the pages before keep theirs.
      Section next;
      next.header = section->header;
      next.footer = section->footer;
      document_.sections.push_back(std::move(next));
      section = &document_.sections.back();
    }
    std::vector<Paragraph>& lines = header ? section->header : section->footer;
    if (lines.size() < static_cast<size_t>(line)) {
      lines.resize(static_cast<size_t>(line));
    }
    lines[static_cast<size_t>(line) - 1] = std::move(text);
    while (!lines.empty() && lines.back().cells.empty()) {
      lines.pop_back();
    }
  }

  void lineEnd(LineEnd kind) {
    switch (kind) {
      case LineEnd::Hard:
        endParagraph();
        break;
      case LineEnd::Soft:
        softBreak(true);
        resetLine();
        if (state_.lineHasText) {
          ++state_.printedLine;
        }
        state_.lineHasText = false;
        state_.leadingSoftSpaces = 0;
        atLineStart_ = true;
        break;
      case LineEnd::Overprint:
        state_.overprintNext = false;
        state_.overprintColumn = 0;
        atLineStart_ = false;
        break;
      case LineEnd::None:
        break;
    }
  }

  void resetLine() {
    state_.overprintNext = false;
    state_.overprintColumn.reset();
    state_.lineStart = state_.paragraph.cells.size();
  }

  static void trimEnd(Paragraph& paragraph) {
    while (!paragraph.cells.empty() &&
           (paragraph.cells.back().ch == U' ' || paragraph.cells.back().ch == U'\t')) {
      paragraph.cells.pop_back();
    }
  }

  void endParagraph() {
    Paragraph& p = state_.paragraph;
    trimEnd(p);
    p.pageBreakBefore = pendingPageBreak_;
    p.centred = centred_;
    if (state_.nextLinesMargin) {
      p.indent = *state_.nextLinesMargin;
      p.firstLineOffset = state_.firstLineMargin - *state_.nextLinesMargin;
    } else {
      p.indent = state_.firstLineMargin;
    }
    pendingPageBreak_ = false;
    document_.sections.back().body.push_back(std::move(p));
    state_ = ParagraphState{};
    atLineStart_ = true;
  }

  uint16_t attrs() const {
    uint16_t a = state_.toggles & 0xFF;
    if (state_.toggles & kDoubleStrikeBit) {
      a |= attr::kBold;
    }
    return a;
  }

  // Strikes ch over a character already printed. False when the two make nothing together, so
  // that both must stay.
  bool overstrike(Cell& cell, char32_t ch) {
    if (ch == U' ') {
      return true;
    }
    if (cell.ch == U' ') {
      cell = Cell{ch, attrs()};
      return true;
    }
    if (ch == U'_') {
      cell.attrs |= attr::kUnderline;
      return true;
    }
    if (cell.ch == U'_') {
      cell = Cell{ch, static_cast<uint16_t>(attrs() | attr::kUnderline)};
      return true;
    }
    if (ch == cell.ch) {
      cell.attrs |= attr::kBold;
      return true;
    }
    if (const auto composed = composeOverprint(cell.ch, ch)) {
      cell.ch = *composed;
      return true;
    }
    return false;
  }

  // Soft spaces and soft returns are the editor's: spaces it added to justify or indent a line,
  // and its word wrap. Where a run of them is all that separates two words (the typed blank
  // was taken into it), it stands for one blank; next to a typed blank, after a soft hyphen or
  // where a line was wrapped after a hyphen it stands for nothing.
  void softBreak(bool wrap) {
    if (!state_.paragraph.cells.empty()) {
      state_.softBreak = true;
      state_.softWrap = state_.softWrap || wrap;
    }
  }

  void put(char32_t ch) {
    if (state_.softBreak) {
      const char32_t last = state_.paragraph.cells.back().ch;
      const bool joined = ch == U' ' || ch == U'\t' || last == U' ' || last == U'\t' ||
                          state_.softHyphen || (state_.softWrap && last == U'-');
      state_.softBreak = false;
      state_.softWrap = false;
      if (!joined && !state_.overprintNext && !state_.overprintColumn) {
        state_.paragraph.cells.push_back(Cell{U' ', attrs()});
      }
    }
    state_.softHyphen = false;
    if (!state_.lineHasText) {
      // The soft spaces before a line's first character are its margin.
      state_.lineHasText = true;
      if (state_.printedLine == 0) {
        state_.firstLineMargin = state_.leadingSoftSpaces;
      } else if (state_.printedLine == 1) {
        state_.nextLinesMargin = state_.leadingSoftSpaces;
      }
    }
    std::vector<Cell>& cells = state_.paragraph.cells;
    if (state_.overprintColumn) {
      const size_t index = state_.lineStart + *state_.overprintColumn;
      ++*state_.overprintColumn;
      if (index < cells.size()) {
        overstrike(cells[index], ch);  // what does not combine leaves the line's own text
        return;
      }
      while (cells.size() < index) {
        cells.push_back(Cell{U' ', 0});
      }
    } else if (state_.overprintNext) {
      state_.overprintNext = false;
      if (cells.size() > state_.lineStart && overstrike(cells.back(), ch)) {
        return;
      }
    }
    cells.push_back(Cell{ch, attrs()});
  }

  // One character or print control at pos; pos moves past it.
  void character(size_t& pos, bool heading) {
    unsigned char b = at(pos);
    if (b == kEscape && pos + 2 < bytes_.size() && at(pos + 2) == kEscapeEnd) {
      put(cp437ToUnicode(at(pos + 1)));
      pos += 3;
      return;
    }
    ++pos;
    if (b >= 0x80) {
      if (b == kSoftSpace) {
        if (!state_.lineHasText) {
          ++state_.leadingSoftSpaces;
        }
        softBreak(false);
        return;
      }
      if (b == kSoftReturn) {
        return;
      }
      if (extended_) {
        put(cp437ToUnicode(b));
        return;
      }
      b &= 0x7F;  // the mark of a word's last letter
    }
    if (b >= 0x20 && b < 0x7F) {
      put(heading && b == '#' ? kPageNumber : static_cast<char32_t>(b));
      return;
    }
    switch (b) {
      case kBold:
        state_.toggles ^= attr::kBold;
        break;
      case kDoubleStrike:
        state_.toggles ^= kDoubleStrikeBit;
        break;
      case kUnderline:
        state_.toggles ^= attr::kUnderline;
        break;
      case kItalic:
        state_.toggles ^= attr::kItalic;
        break;
      case kStrikeOut:
        state_.toggles ^= attr::kStrikeOut;
        break;
      case kSuperscript:
        state_.toggles ^= attr::kSuperscript;
        break;
      case kSubscript:
        state_.toggles ^= attr::kSubscript;
        break;
      case kOverprint:
        state_.overprintNext = true;
        break;
      case kTab:
        put(U'\t');
        break;
      case kBindingSpace:
        put(U'\u00A0');
        break;
      case kFormFeed:
        if (!heading) {
          if (!state_.paragraph.cells.empty()) {
            endParagraph();
          }
          pendingPageBreak_ = true;
        }
        break;
      case kSoftHyphen:
      case kSoftHyphenAtLineEnd:
        state_.softHyphen = true;  // the text is wrapped anew, so the word stays whole
        break;
      default:
        // Printer pauses, custom print controls, pitch and font switches, phantom characters:
        // nothing to show.
        break;
    }
  }

  std::string_view bytes_;
  bool extended_ = false;
  bool returnOnly_ = false;
  Document document_;
  ParagraphState state_;
  bool atLineStart_ = true;
  bool pendingPageBreak_ = false;
  bool centred_ = false;
};

}  // namespace

DecodeResult decodeWordStar(std::string_view bytes) {
  if (auto reason = notWordStarReason(bytes)) {
    return {std::nullopt, bytes.empty() ? "The file is empty" : "Not a WordStar file: " + *reason};
  }
  const Generation generation =
      startsWithExtendedHeader(bytes) ? Generation::Extended : Generation::Classic;
  Decoder decoder(bytes, generation);
  if (auto error = decoder.run()) {
    return {std::nullopt, "WordStar file error: " + *error};
  }
  Document document = decoder.take();
  if (hasNoText(document)) {
    return {std::nullopt, "The WordStar file holds no text"};
  }
  return {std::move(document), {}};
}

}  // namespace kelvara::wordstar
