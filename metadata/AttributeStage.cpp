#include "metadata/AttributeText.h"
#include "metadata/MetadataStep.h"
#include "platform/DosAttributes.h"

namespace kelvara::metadata {

uint32_t MetadataStep::sourceAttributes(const std::string& path) {
  return platform_.attributes(path).value_or(kInvalidAttributes);
}

std::optional<bool> MetadataStep::ApplyAttributes(const std::string& source,
                                                  const std::string& target) {
  if (settings_.CopyFilesAttr) {
    const uint32_t word = sourceAttributes(source);
    // An unreadable source's word is refused by the system; nothing changes.
    if (word == kInvalidAttributes || platform_.setAttributes(target, word) != 0) {
      return std::nullopt;
    }
    return (word & platform::kDosReadOnly) != 0;
  }

  uint32_t n = sourceAttributes(source) & platform::kDosDirectory;
  const auto rule = [&](int32_t value, uint32_t bit) {
    if (value == 0) {
      n |= bit;
    } else if (value == 2) {
      n |= sourceAttributes(source) & bit;
    }
  };
  rule(settings_.ReadOnlyAttrb, platform::kDosReadOnly);
  rule(settings_.HiddenAttrb, platform::kDosHidden);
  rule(settings_.ArchiveAttrb, platform::kDosArchive);
  rule(settings_.SystemAttrb, platform::kDosSystem);
  const bool set = platform_.setAttributes(target, n) == 0;
  if (settings_.LogAttributesChange) {
    log("File Attributes changed from " + AttributeText(sourceAttributes(source)) + " to " +
        AttributeText(n));
  }
  if (!set) {
    return std::nullopt;
  }
  return (n & platform::kDosReadOnly) != 0;
}

void MetadataStep::finishReadOnly(const std::string& target, std::optional<bool> readOnly,
                                  bool folder) {
  // On a folder the attribute does not keep new entries out, so the permissions stay; on a file
  // the write bits change last, since the stages before need to write to it.
  if (readOnly && !folder) {
    platform_.mirrorReadOnly(target, *readOnly);
  }
}

}  // namespace kelvara::metadata
