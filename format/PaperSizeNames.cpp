#include "format/PaperSizeNames.h"

namespace kelvara::format {

std::string paperSizeName(int32_t code) {
  if (code < 0 || code >= kPaperSizeCount) {
    return std::to_string(code);
  }
  return std::string(kPaperSizeNames[static_cast<size_t>(code)]);
}

}  // namespace kelvara::format
