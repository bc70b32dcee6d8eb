#include "metadata/AttributeText.h"

#include "platform/DosAttributes.h"

namespace kelvara::metadata {

std::string AttributeText(uint32_t value) {
  constexpr uint32_t kLowSix = 0x3F;
  std::string text = "------";
  if (value & platform::kDosDirectory) {
    text[0] = 'D';
  }
  if (value & platform::kDosReadOnly) {
    text[1] = 'R';
  }
  if (value & platform::kDosSystem) {
    text[2] = 'S';
  }
  if (value & platform::kDosArchive) {
    text[3] = 'A';
  }
  if ((value & kLowSix) == kLowSix) {
    text[4] = '*';
  }
  if (value & platform::kDosHidden) {
    text[5] = 'H';
  }
  return text;
}

}  // namespace kelvara::metadata
