#include "word/FormatTables.h"

namespace kelvara::word {
namespace {

struct FixedEntry {
  const char* label;
  int32_t code;
  enum Presence { Always, V12, NotV12, Known, V11 } when;
};

// Input entries in list order.
constexpr FixedEntry kInput[] = {
    {"Auto - (*)", 0, FixedEntry::Always},
    {"Word Document - (doc)", 1, FixedEntry::Always},
    {"Document Template - (dot)", 2, FixedEntry::Always},
    {"Rich Text Format - (rtf)", 3, FixedEntry::Always},
    {"Normal text - (txt)", 4, FixedEntry::Always},
    {"Unicode Text - (txt)", 5, FixedEntry::Always},
    {"Encoded Text - (txt)", 5, FixedEntry::V12},
    {"All Word Documents - (docx docm dotx dotm doc dot htm)", 6, FixedEntry::V12},
    {"All Web Pages - (htm html mht mhtml)", 7, FixedEntry::V12},
    {"XML Files - (xml)", 8, FixedEntry::V12},
    {"Word 97 Document - (doc)", 1, FixedEntry::V12},
    {"Word 97 Template - (dot)", 2, FixedEntry::V12},
    {"All Word Templates - (dotx dotm dot)", 13, FixedEntry::V12},
};

// Output entries in list order.
constexpr FixedEntry kOutput[] = {
    {"Word Document - (docx)", 16, FixedEntry::V12},
    {"Word Document Macro Enabled - (docm)", 13, FixedEntry::V12},
    {"Word 97-2003 Document - (doc)", 0, FixedEntry::V12},
    {"Word Template - (dotx)", 14, FixedEntry::V12},
    {"Word 97-2003 Template - (dot)", 1, FixedEntry::V12},
    {"Word Macro Enabled Template - (dotm)", 15, FixedEntry::V12},
    {"PDF - (pdf)", 17, FixedEntry::V12},
    {"XPS Document - (xps)", 18, FixedEntry::V12},
    {"Word Document - (doc)", 0, FixedEntry::NotV12},
    {"Document Template - (dot)", 1, FixedEntry::NotV12},
    {"Rich Text Format - (rtf)", 6, FixedEntry::Always},
    {"Normal text - (txt)", 2, FixedEntry::Always},
    {"Formatted HTML - (htm)", 8, FixedEntry::Known},
    {"Web Page HTML - (htm)", 9, FixedEntry::Known},
    {"Minimum Tag HTML - (htm)", 10, FixedEntry::Known},
    {"Word 2003 XML Document - (xml)", 11, FixedEntry::V11},
    {"PDF - (pdf)", 17, FixedEntry::V12},
    {"XPS Document - (xps)", 18, FixedEntry::V12},
    {"Word XML Document - (xml)", 12, FixedEntry::V12},
    {"Word XML Document - (xml)", 13, FixedEntry::V12},
    {"Word XML Document - (xml)", 14, FixedEntry::V12},
    {"Word XML Document - (xml)", 15, FixedEntry::V12},
    {"Word Flat XML Document - (xml)", 19, FixedEntry::V12},
    {"Word Flat XML Document Macro Enabled - (xml)", 20, FixedEntry::V12},
    {"Word Flat XML Template - (xml)", 21, FixedEntry::V12},
    {"Word Flat XML Template Macro Enabled - (xml)", 22, FixedEntry::V12},
};

bool present(FixedEntry::Presence when, const std::string& version) {
  switch (when) {
    case FixedEntry::Always:
      return true;
    case FixedEntry::V12:
      return version == "12.0";
    case FixedEntry::NotV12:
      return version != "12.0";
    case FixedEntry::Known:
      return IsKnownVersion(version);
    case FixedEntry::V11:
      return version == "11.0";
  }
  return false;
}

template <size_t N>
void appendFixed(const FixedEntry (&table)[N], const std::string& version,
                 std::vector<FormatEntry>& list) {
  for (const FixedEntry& e : table) {
    if (present(e.when, version)) {
      list.push_back({e.label, e.code});
    }
  }
}

}  // namespace

bool IsKnownVersion(const std::string& version) {
  return version == "9.0" || version == "10.0" || version == "11.0" || version == "12.0";
}

FormatLists BuildFormatLists(const std::string& version,
                             const std::vector<FileConverter>& converters) {
  FormatLists lists;
  appendFixed(kInput, version, lists.input);
  appendFixed(kOutput, version, lists.output);
  for (const FileConverter& c : converters) {
    const std::string label = c.formatName + " - (" + c.extensions + ")";
    if (c.canOpen) {
      lists.input.push_back({label, c.openFormat});
    }
    if (c.canSave) {
      lists.output.push_back({label, c.saveFormat});
    }
  }
  return lists;
}

std::string LabelName(const std::string& label) {
  const auto p = label.find(" - (");
  if (p == std::string::npos) {
    return label;
  }
  return label.substr(0, p + 1);
}

std::string LabelExtensions(const std::string& label) {
  const auto p = label.find(" - (");
  if (p == std::string::npos || label.size() < p + 5) {
    return std::string();
  }
  return label.substr(p + 4, label.size() - (p + 4) - 1);
}

std::string StandardMask(const std::string& extensions) {
  std::string mask = "*.";
  for (char c : extensions) {
    if (c == ' ') {
      mask += ";*.";
    } else {
      mask += c;
    }
  }
  return mask;
}

bool SelectFormats(const FormatLists& lists, int32_t inputIndex, int32_t outputIndex,
                   FormatSelection& selection) {
  if (inputIndex < 0 || static_cast<size_t>(inputIndex) >= lists.input.size() || outputIndex < 0 ||
      static_cast<size_t>(outputIndex) >= lists.output.size()) {
    return false;
  }
  const FormatEntry& in = lists.input[inputIndex];
  const FormatEntry& out = lists.output[outputIndex];
  selection.inputIndex = inputIndex;
  selection.openFormat = in.code;
  selection.inputFormatName = LabelName(in.label);
  selection.inputExtensions = LabelExtensions(in.label);
  selection.outputIndex = outputIndex;
  selection.saveFormat = out.code;
  selection.outputFormatName = LabelName(out.label);
  selection.OutExt = LabelExtensions(out.label);
  return true;
}

}  // namespace kelvara::word
