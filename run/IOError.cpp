#include "run/IOError.h"

#include <array>

#include "platform/SystemError.h"

namespace kelvara::run {
namespace {

constexpr size_t kMaxIOErrorChars = 132;

constexpr std::array<const char*, 9> kOperationWords = {
    "Creation", "Open", "Read", "Write", "Seek", "Close", "Search", "Delete", "Rename"};

}  // namespace

std::string CutToChars(const std::string& text, size_t maxChars) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // Count only the first byte of each UTF-8 sequence.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == maxChars) {
        return text.substr(0, i);
      }
      ++chars;
    }
  }
  return text;
}

std::string FormatIOError(const std::string& path, int operation, int code) {
  std::string text;
  if (operation >= 0 && operation < static_cast<int>(kOperationWords.size())) {
    text = std::string("Err. ") + kOperationWords[static_cast<size_t>(operation)];
  } else {
    text = "?????";
  }
  text += " " + path + ": " + platform::systemErrorText(code);
  return CutToChars(text, kMaxIOErrorChars);
}

}  // namespace kelvara::run
