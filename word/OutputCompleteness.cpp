#include "word/OutputCompleteness.h"

#include <cerrno>
#include <fstream>
#include <vector>

namespace kelvara::word {
namespace {

// The end record of a ZIP file is 22 bytes plus a comment of at most 65535.
constexpr uint64_t kZipTailSpan = 22 + 65535;
constexpr std::string_view kZipLocalHeader{"PK\x03\x04", 4};
constexpr std::string_view kZipEndRecord{"PK\x05\x06", 4};
constexpr std::string_view kZip64Locator{"PK\x06\x07", 4};
constexpr std::string_view kZip64EndRecord{"PK\x06\x06", 4};
constexpr std::string_view kCompoundSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
constexpr uint32_t kFreeSector = 0xFFFFFFFFu;
constexpr uint32_t kLastRegularSector = 0xFFFFFFFAu;

class OutputFile {
 public:
  explicit OutputFile(const std::string& path) : in_(path, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      const std::streamoff end = in_.tellg();
      size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
      readable_ = end >= 0;
    }
  }
  bool readable() const { return readable_; }
  uint64_t size() const { return size_; }

  // Up to count bytes from offset (fewer at the end of the file); empty on a read error.
  std::string read(uint64_t offset, uint64_t count) {
    if (offset >= size_) {
      return {};
    }
    count = std::min(count, size_ - offset);
    std::string bytes(count, '\0');
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(bytes.data(), static_cast<std::streamsize>(count));
    if (static_cast<uint64_t>(in_.gcount()) != count) {
      readable_ = false;
      return {};
    }
    return bytes;
  }
  std::string tail(uint64_t count) { return read(size_ - std::min(count, size_), count); }

 private:
  std::ifstream in_;
  uint64_t size_ = 0;
  bool readable_ = false;
};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

std::string_view trimmedEnd(std::string_view text) {
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view afterBomAndBlanks(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) {
    return false;
  }
  text = text.substr(text.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    const char c = text[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != suffix[i]) {
      return false;
    }
  }
  return true;
}

uint64_t little(std::string_view bytes, size_t at, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  }
  return value;
}

// The kind that the start of a file from an unknown writer shows, by signatures that plain text
// does not begin with by chance.
OutputKind sniff(std::string_view head) {
  if (head.substr(0, 5) == "%PDF-") {
    return OutputKind::Pdf;
  }
  if (head.substr(0, 4) == kZipLocalHeader) {
    return OutputKind::ZipPackage;
  }
  if (head.substr(0, 8) == kCompoundSignature) {
    return OutputKind::CompoundFile;
  }
  if (head.substr(0, 5) == "{\\rtf") {
    return OutputKind::Rtf;
  }
  if (afterBomAndBlanks(head).substr(0, 5) == "<?xml") {
    return OutputKind::Xml;
  }
  return OutputKind::Text;
}

// The groups of an RTF file close at its end and nowhere before: every cut leaves one open.
// Escaped braces and the bytes of \binN data do not count.
std::optional<std::string> checkRtf(std::string_view head, OutputFile& file) {
  if (head.substr(0, 5) != "{\\rtf") {
    return "the file does not start as RTF";
  }
  constexpr const char* kOpen = "the RTF text is not closed";
  const std::string text = file.read(0, file.size());
  long depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) {
        // Only blanks may follow the closing of the outermost group.
        return trimmedEnd(std::string_view(text).substr(i + 1)).empty()
                   ? std::nullopt
                   : std::optional<std::string>("the RTF text goes on after its end");
      }
    } else if (c == '\\' && i + 1 < text.size()) {
      if (text.compare(i + 1, 3, "bin") == 0) {
        size_t j = i + 4;
        uint64_t count = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && count < (uint64_t{1} << 40)) {
          count = count * 10 + static_cast<uint64_t>(text[j++] - '0');
        }
        if (j < text.size() && text[j] == ' ') {
          ++j;  // the delimiter belongs to the control word
        }
        if (count > text.size() - std::min(j, text.size())) {
          return kOpen;
        }
        i = j + count - 1;
      } else {
        ++i;  // an escaped brace or backslash, or the first letter of a control word
      }
    }
  }
  return kOpen;
}

// The name of the root element: the first tag that is not a declaration, a comment or a
// processing instruction.
std::string_view rootElement(std::string_view head) {
  for (size_t at = head.find('<'); at != std::string_view::npos; at = head.find('<', at + 1)) {
    if (at + 1 < head.size()) {
      const char c = head[at + 1];
      if (c == '?' || c == '!' || c == '/') {
        continue;
      }
      size_t end = at + 1;
      while (end < head.size() && !isBlank(head[end]) && head[end] != '>' && head[end] != '/') {
        ++end;
      }
      return head.substr(at + 1, end - at - 1);
    }
  }
  return {};
}

// An XML document ends with the end tag of its root (or the root is one empty tag); comments
// and processing instructions may follow it.
bool closesRoot(std::string_view tail, std::string_view root) {
  tail = trimmedEnd(tail);
  for (;;) {
    if (tail.ends_with("-->") && tail.rfind("<!--") != std::string_view::npos) {
      tail = trimmedEnd(tail.substr(0, tail.rfind("<!--")));
    } else if (tail.ends_with("?>") && tail.rfind("<?") != std::string_view::npos) {
      tail = trimmedEnd(tail.substr(0, tail.rfind("<?")));
    } else {
      break;
    }
  }
  if (!tail.ends_with('>')) {
    return false;
  }
  tail.remove_suffix(1);
  tail = trimmedEnd(tail);
  if (tail.ends_with('/')) {
    // An empty root: "<root .../>" and nothing before it but the prolog.
    const size_t open = tail.rfind('<');
    return open != std::string_view::npos && rootElement(tail.substr(open)) == root;
  }
  const size_t endTag = tail.rfind("</");
  return endTag != std::string_view::npos && tail.substr(endTag + 2) == root;
}

std::optional<std::string> checkXml(std::string_view head, OutputFile& file) {
  if (!afterBomAndBlanks(head).starts_with('<')) {
    return "the file does not start as XML";
  }
  const std::string_view root = rootElement(head);
  if (root.empty() || !closesRoot(file.tail(4096), root)) {
    return "the XML document is not closed";
  }
  return std::nullopt;
}

std::optional<std::string> checkPdf(std::string_view head, OutputFile& file) {
  if (head.substr(0, 5) != "%PDF-") {
    return "the file does not start as a PDF file";
  }
  // Readers look for the end marker in the last 1024 bytes; only line ends may follow it.
  const std::string tail = file.tail(1024);
  const size_t marker = tail.rfind("%%EOF");
  if (marker == std::string::npos ||
      !trimmedEnd(std::string_view(tail).substr(marker + 5)).empty()) {
    return "the PDF file has no end-of-file marker";
  }
  return std::nullopt;
}

std::optional<std::string> checkZip(std::string_view head, OutputFile& file) {
  constexpr const char* kNoDirectory = "the package has no complete central directory";
  if (head.substr(0, 4) != kZipLocalHeader && head.substr(0, 4) != kZipEndRecord) {
    return "the file does not start as a ZIP package";
  }
  const uint64_t size = file.size();
  const uint64_t tailStart = size - std::min(size, kZipTailSpan);
  const std::string tail = file.read(tailStart, kZipTailSpan);
  // The last end-record signature whose comment length reaches exactly to the end of the file.
  size_t at = tail.size() < 22 ? std::string::npos : tail.size() - 22;
  while (at != std::string::npos) {
    at = tail.rfind(kZipEndRecord, at);
    if (at == std::string::npos || at + 22 + little(tail, at + 20, 2) == tail.size()) {
      break;
    }
    at = at == 0 ? std::string::npos : at - 1;
  }
  if (at == std::string::npos) {
    return kNoDirectory;
  }
  const uint64_t endRecord = tailStart + at;
  uint64_t directorySize = little(tail, at + 12, 4);
  uint64_t directoryOffset = little(tail, at + 16, 4);
  uint64_t directoryEnd = endRecord;
  if (directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu) {
    // ZIP64: the locator just before the end record points to the larger end record.
    if (endRecord < 20) {
      return kNoDirectory;
    }
    const std::string locator = file.read(endRecord - 20, 20);
    if (locator.size() != 20 || locator.substr(0, 4) != kZip64Locator) {
      return kNoDirectory;
    }
    directoryEnd = little(locator, 8, 8);
    const std::string record = file.read(directoryEnd, 56);
    if (record.size() != 56 || record.substr(0, 4) != kZip64EndRecord) {
      return kNoDirectory;
    }
    directorySize = little(record, 40, 8);
    directoryOffset = little(record, 48, 8);
  }
  if (directoryOffset + directorySize != directoryEnd) {
    return kNoDirectory;
  }
  return std::nullopt;
}

// A compound file is written as a whole; the sectors its allocation table uses must all be
// in the file.
std::optional<std::string> checkCompound(OutputFile& file) {
  constexpr const char* kCut = "the compound file is cut short";
  const std::string header = file.read(0, 512);
  if (std::string_view(header).substr(0, 8) != kCompoundSignature) {
    return "the file does not start as a compound file";
  }
  if (header.size() < 512) {
    return kCut;
  }
  const uint64_t shift = little(header, 30, 2);
  if (shift != 9 && shift != 12) {
    return kCut;
  }
  const uint64_t sectorSize = uint64_t{1} << shift;
  const uint64_t size = file.size();
  auto sectorEnd = [&](uint64_t sector) { return (sector + 2) * sectorSize; };

  const uint64_t directoryStart = little(header, 48, 4);
  if (directoryStart > kLastRegularSector || sectorEnd(directoryStart) > size) {
    return kCut;
  }
  const uint64_t fatSectors = little(header, 44, 4);
  const uint64_t listed = std::min<uint64_t>(fatSectors, 109);
  const uint64_t entriesPerSector = sectorSize / 4;
  uint64_t lastUsed = directoryStart;
  for (uint64_t i = 0; i < listed; ++i) {
    const uint64_t fatSector = little(header, 76 + static_cast<size_t>(i) * 4, 4);
    if (fatSector > kLastRegularSector || sectorEnd(fatSector) > size) {
      return kCut;
    }
    const std::string table = file.read((fatSector + 1) * sectorSize, sectorSize);
    if (table.size() != sectorSize) {
      return kCut;
    }
    for (uint64_t e = entriesPerSector; e-- > 0;) {
      if (little(table, static_cast<size_t>(e) * 4, 4) != kFreeSector) {
        lastUsed = std::max(lastUsed, i * entriesPerSector + e);
        break;
      }
    }
  }
  if (sectorEnd(lastUsed) > size) {
    return kCut;
  }
  return std::nullopt;
}

}  // namespace

OutputKind outputKindOfFilter(std::string_view filterName) {
  struct Entry {
    std::string_view filter;
    OutputKind kind;
  };
  static constexpr Entry kFilters[] = {
      {"writer_pdf_Export", OutputKind::Pdf},
      {"MS Word 2007 XML", OutputKind::ZipPackage},
      {"MS Word 2007 XML Template", OutputKind::ZipPackage},
      {"MS Word 2007 XML VBA", OutputKind::ZipPackage},
      {"Office Open XML Text", OutputKind::ZipPackage},
      {"Office Open XML Text Template", OutputKind::ZipPackage},
      {"writer8", OutputKind::ZipPackage},
      {"writer8_template", OutputKind::ZipPackage},
      {"EPUB", OutputKind::ZipPackage},
      {"StarOffice XML (Writer)", OutputKind::ZipPackage},
      {"MS Word 97", OutputKind::CompoundFile},
      {"MS Word 97 Vorlage", OutputKind::CompoundFile},
      {"Rich Text Format", OutputKind::Rtf},
      {"HTML (StarWriter)", OutputKind::Html},
      {"XHTML Writer File", OutputKind::Html},
      {"MS Word 2003 XML", OutputKind::Xml},
      {"OpenDocument Text Flat XML", OutputKind::Xml},
      {"DocBook File", OutputKind::Xml},
      {"UOF text", OutputKind::Xml},
      {"Text", OutputKind::Text},
      {"Text (encoded)", OutputKind::Text},
  };
  for (const Entry& entry : kFilters) {
    if (entry.filter == filterName) {
      return entry.kind;
    }
  }
  return OutputKind::Any;
}

std::optional<std::string> findIncompleteness(const std::string& path, OutputKind kind) {
  OutputFile file(path);
  if (!file.readable()) {
    return "the file cannot be read back";
  }
  if (file.size() == 0) {
    return "the file is empty";
  }
  const std::string head = file.read(0, 4096);
  if (head.empty()) {
    return "the file cannot be read back";
  }
  if (kind == OutputKind::Any) {
    kind = sniff(head);
  }
  std::optional<std::string> problem;
  switch (kind) {
    case OutputKind::Any:
    case OutputKind::Text:
      break;
    case OutputKind::Pdf:
      problem = checkPdf(head, file);
      break;
    case OutputKind::ZipPackage:
      problem = checkZip(head, file);
      break;
    case OutputKind::CompoundFile:
      problem = checkCompound(file);
      break;
    case OutputKind::Rtf:
      problem = checkRtf(head, file);
      break;
    case OutputKind::Html:
      if (!afterBomAndBlanks(head).starts_with('<')) {
        problem = "the file does not start as HTML";
      } else if (!endsWithNoCase(trimmedEnd(file.tail(64)), "</html>")) {
        problem = "the HTML page is not closed";
      }
      break;
    case OutputKind::Xml:
      problem = checkXml(head, file);
      break;
  }
  if (!problem && !file.readable()) {
    return "the file cannot be read back";
  }
  return problem;
}

bool looksFull(std::optional<uint64_t> freeBytes) {
  return freeBytes && *freeBytes < kFullDiskMargin;
}

bool isNoRoomError(int code) {
  return code == ENOSPC || code == EDQUOT;
}

std::string fullDiskMessage(const std::string& folder) {
  return "Disk full: the output could not be written completely to " + folder;
}

std::string incompleteOutputMessage(const std::string& folder, const std::string& reason) {
  return "The output could not be written completely to " + folder + " (" + reason + ")";
}

}  // namespace kelvara::word
