#include "word/RtfText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "wordstar/CodePage437.h"

namespace kelvara::word {
namespace {

// Code page 1252's characters for 0x80-0x9F (the rest of the upper half is Latin-1).
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

const std::set<std::string>& skippedDestinations() {
  static const std::set<std::string> names = {"fonttbl",
                                              "colortbl",
                                              "stylesheet",
                                              "info",
                                              "pict",
                                              "object",
                                              "fldinst",
                                              "themedata",
                                              "datastore",
                                              "listtable",
                                              "listoverridetable",
                                              "revtbl",
                                              "rsidtbl",
                                              "generator",
                                              "xmlnstbl",
                                              "mmathPr",
                                              "latentstyles",
                                              "pgdsctbl",
                                              "footnote",
                                              "annotation",
                                              "atnid",
                                              "atnauthor",
                                              "bkmkstart",
                                              "bkmkend",
                                              "shppict",
                                              "nonshppict",
                                              "blipuid",
                                              "fontemb",
                                              "filetbl",
                                              "listtext",
                                              "pntext",
                                              "pntxta",
                                              "pntxtb",
                                              "template",
                                              "userprops",
                                              "docvar",
                                              "xe",
                                              "tc",
                                              "private",
                                              "falt"};
  return names;
}

bool isHeading(const std::string& word) {
  return word.rfind("header", 0) == 0 || word.rfind("footer", 0) == 0;
}

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : rtf_(rtf) {}

  RtfText read() {
    struct Group {
      bool skip = false;
      bool heading = false;
      bool fontTable = false;
      int unicodeSkip = 1;
    };
    std::vector<Group> stack{Group{}};
    size_t pendingFallback = 0;
    bool firstInGroup = false;
    size_t pos = 0;
    while (pos < rtf_.size()) {
      const char c = rtf_[pos];
      Group& group = stack.back();
      if (c == '{') {
        stack.push_back(group);
        firstInGroup = true;
        ++pos;
        continue;
      }
      if (c == '}') {
        if (stack.size() > 1) {
          stack.pop_back();
        }
        firstInGroup = false;
        pendingFallback = 0;
        ++pos;
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++pos;
        continue;
      }
      if (c != '\\') {
        if (pendingFallback > 0) {
          --pendingFallback;
        } else if (!group.skip) {
          add(group.heading, static_cast<unsigned char>(c) < 0x80
                                 ? static_cast<char32_t>(c)
                                 : fromCodePage(static_cast<unsigned char>(c)));
        }
        firstInGroup = false;
        ++pos;
        continue;
      }
      // A control word or symbol.
      ++pos;
      if (pos >= rtf_.size()) {
        break;
      }
      const char s = rtf_[pos];
      if (!std::isalpha(static_cast<unsigned char>(s))) {
        ++pos;
        const bool wasFirst = firstInGroup;
        firstInGroup = false;
        if (s == '*' && wasFirst) {
          group.skip = true;  // an optional destination this reader may not know
          continue;
        }
        if (s == '\'') {
          if (pos + 2 <= rtf_.size()) {
            const unsigned long value =
                std::strtoul(std::string(rtf_.substr(pos, 2)).c_str(), nullptr, 16);
            pos += 2;
            if (pendingFallback > 0) {
              --pendingFallback;
            } else if (!group.skip) {
              add(group.heading, fromCodePage(static_cast<unsigned char>(value)));
            }
          }
          continue;
        }
        if (group.skip || pendingFallback > 0) {
          if (pendingFallback > 0) {
            --pendingFallback;
          }
          continue;
        }
        switch (s) {
          case '~':
            add(group.heading, U'\u00A0');
            break;
          case '_':
            add(group.heading, U'-');
            break;
          case '\\':
          case '{':
          case '}':
            add(group.heading, static_cast<char32_t>(s));
            break;
          case '\r':
          case '\n':
            endParagraph(group.heading);
            break;
          default:
            break;  // \- optional hyphen, \: index entries
        }
        continue;
      }
      size_t end = pos;
      while (end < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[end]))) {
        ++end;
      }
      const std::string word(rtf_.substr(pos, end - pos));
      pos = end;
      bool hasValue = false;
      long value = 0;
      if (pos < rtf_.size() &&
          (rtf_[pos] == '-' || std::isdigit(static_cast<unsigned char>(rtf_[pos])))) {
        size_t numberEnd = pos + 1;
        while (numberEnd < rtf_.size() &&
               std::isdigit(static_cast<unsigned char>(rtf_[numberEnd]))) {
          ++numberEnd;
        }
        value = std::strtol(std::string(rtf_.substr(pos, numberEnd - pos)).c_str(), nullptr, 10);
        hasValue = true;
        pos = numberEnd;
      }
      if (pos < rtf_.size() && rtf_[pos] == ' ') {
        ++pos;  // the delimiter belongs to the control word
      }
      const bool wasFirst = firstInGroup;
      firstInGroup = false;
      if (word == "bin" && hasValue && value > 0) {
        pos += static_cast<size_t>(value);
        continue;
      }
      if (wasFirst && skippedDestinations().count(word)) {
        group.skip = true;
        group.fontTable = word == "fonttbl";
        continue;
      }
      if (wasFirst && isHeading(word)) {
        group.heading = true;
        continue;
      }
      if (group.fontTable) {
        fontTableWord(word, hasValue, value);
        continue;
      }
      control(word, hasValue, value, group.skip, group.heading, group.unicodeSkip, pendingFallback);
    }
    // Text after the last \par is a paragraph of its own; the empty one that \par opens is not.
    setIndents(body_.back());
    if (body_.back().text.empty()) {
      body_.pop_back();
    }
    if (!headingLine_.empty()) {
      text_.headings.push_back(headingLine_);
    }
    text_.body = std::move(body_);
    setPageWidths();
    return std::move(text_);
  }

 private:
  void control(const std::string& word, bool hasValue, long value, bool skip, bool heading,
               int& unicodeSkip, size_t& pendingFallback) {
    if (word == "ansicpg" && hasValue) {
      dos_ = value == 437 || value == 850;
    } else if (word == "pc" || word == "pca") {
      dos_ = true;
    } else if (word == "uc" && hasValue) {
      unicodeSkip = static_cast<int>(std::max(0L, value));
    } else if (word == "paperw" && hasValue) {
      paperWidth_ = value;
    } else if (word == "margl" && hasValue) {
      marginLeft_ = value;
    } else if (word == "margr" && hasValue) {
      marginRight_ = value;
    } else if (word == "fs" && hasValue && !fontSize_) {
      fontSize_ = value;
    } else if (word == "deff" && hasValue) {
      defaultFont_ = value;
    } else if (word == "pard") {
      leftIndent_ = firstLineIndent_ = rightIndent_ = 0;
    } else if (word == "li" && hasValue) {
      leftIndent_ = value;
    } else if (word == "fi" && hasValue) {
      firstLineIndent_ = value;
    } else if (word == "ri" && hasValue) {
      rightIndent_ = value;
    }
    if (skip) {
      return;
    }
    if (word == "u" && hasValue) {
      long code = value < 0 ? value + 65536 : value;
      add(heading, static_cast<char32_t>(code));
      pendingFallback = static_cast<size_t>(unicodeSkip);
    } else if (word == "par" || word == "cell" || word == "sect" || word == "page") {
      if (word == "par" || word == "cell") {
        endParagraph(heading);
      }
    } else if (word == "line") {
      add(heading, U'\n');
    } else if (word == "tab") {
      add(heading, U'\t');
    } else if (word == "emdash") {
      add(heading, U'\u2014');
    } else if (word == "endash") {
      add(heading, U'\u2013');
    } else if (word == "bullet") {
      add(heading, U'\u2022');
    } else if (word == "lquote") {
      add(heading, U'\u2018');
    } else if (word == "rquote") {
      add(heading, U'\u2019');
    } else if (word == "ldblquote") {
      add(heading, U'\u201C');
    } else if (word == "rdblquote") {
      add(heading, U'\u201D');
    }
  }

  // The font table tells whether the document's default font has a fixed pitch.
  void fontTableWord(const std::string& word, bool hasValue, long value) {
    if (word == "f" && hasValue) {
      tableFont_ = value;
    } else if (tableFont_ == defaultFont_ &&
               (word == "fmodern" || (word == "fprq" && hasValue && value == 1))) {
      fixedPitch_ = true;
    }
  }

  char32_t fromCodePage(unsigned char byte) const {
    if (byte < 0x80) {
      return byte;
    }
    if (dos_) {
      return wordstar::cp437ToUnicode(byte);
    }
    return byte < 0xA0 ? static_cast<char32_t>(kWindows1252[byte - 0x80]) : byte;
  }

  void add(bool heading, char32_t ch) {
    if (heading) {
      headingLine_.push_back(ch);
    } else {
      body_.back().text.push_back(ch);
    }
  }

  void endParagraph(bool heading) {
    if (heading) {
      text_.headings.push_back(std::move(headingLine_));
      headingLine_.clear();
    } else {
      setIndents(body_.back());
      body_.emplace_back();
    }
  }

  void setIndents(RtfParagraph& p) const {
    p.leftIndent = leftIndent_;
    p.firstLineIndent = firstLineIndent_;
    p.rightIndent = rightIndent_;
  }

  // A fixed-pitch font is 0.6 of its size wide, an average letter of a proportional one about
  // half.
  void setPageWidths() {
    const long size = fontSize_.value_or(24) * 10;  // twips
    text_.textWidth = paperWidth_ - marginLeft_ - marginRight_;
    text_.characterWidth = std::max(1L, fixedPitch_ ? size * 6 / 10 : size / 2);
  }

  std::string_view rtf_;
  RtfText text_;
  std::vector<RtfParagraph> body_{RtfParagraph{}};
  long leftIndent_ = 0;
  long firstLineIndent_ = 0;
  long rightIndent_ = 0;
  std::u32string headingLine_;
  bool dos_ = false;
  long paperWidth_ = 12240;  // the defaults RTF gives a page
  long marginLeft_ = 1800;
  long marginRight_ = 1800;
  std::optional<long> fontSize_;
  long defaultFont_ = 0;
  long tableFont_ = -1;
  bool fixedPitch_ = false;
};

}  // namespace

int RtfText::firstLineWidth(const RtfParagraph& p) const {
  const long width = textWidth - p.leftIndent - p.firstLineIndent - p.rightIndent;
  return static_cast<int>(std::max(1L, width / characterWidth));
}

int RtfText::lineWidth(const RtfParagraph& p) const {
  const long width = textWidth - p.leftIndent - p.rightIndent;
  return static_cast<int>(std::max(1L, width / characterWidth));
}

std::optional<RtfText> rtfText(std::string_view rtf) {
  if (rtf.substr(0, 5) != "{\\rtf") {
    return std::nullopt;
  }
  return RtfReader(rtf).read();
}

}  // namespace kelvara::word
