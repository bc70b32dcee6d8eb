#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::word {

// What a saved output should look like at its start and its end. A save cut short by a full
// disk or a failing write leaves a file that is empty or lacks its closing structure.
enum class OutputKind {
  Any,           // a writer we know nothing of: its content tells the kind, if it can
  Text,          // plain text: any non-empty file
  Pdf,           // "%PDF-" ... "%%EOF"
  ZipPackage,    // local headers ... central directory, end record
  CompoundFile,  // an OLE2 compound file whose allocation table fits in the file
  Rtf,           // "{\rtf" ... "}" closing the first brace
  Html,          // "<" ... "</html>"
  Xml,           // "<" ... the end tag of the root element
};

// The kind an export filter of the office writes; Any for one not known here.
OutputKind outputKindOfFilter(std::string_view filterName);

// Why the file is not a complete output of the kind ("the file is empty", ...); nullopt when it
// looks complete. Reads the start and the end of the file (compound files: also the allocation
// table; RTF: the whole text, to follow its groups).
std::optional<std::string> findIncompleteness(const std::string& path, OutputKind kind);

// Free space below which a save that failed or came out incomplete is put down to a full disk:
// the office needs room for the whole output at once, and often for a temporary copy too.
constexpr uint64_t kFullDiskMargin = uint64_t{1} << 20;
bool looksFull(std::optional<uint64_t> freeBytes);
// The errno of a write that found no room (no space, or the user's quota is used up).
bool isNoRoomError(int code);

// The messages of a document whose output could not be written in full to folder.
std::string fullDiskMessage(const std::string& folder);
std::string incompleteOutputMessage(const std::string& folder, const std::string& reason);

}  // namespace kelvara::word
