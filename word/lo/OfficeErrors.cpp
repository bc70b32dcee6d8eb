#include "word/lo/OfficeErrors.h"

namespace kelvara::word::lo {

namespace {

uint32_t withoutFlags(uint32_t code) {
  return code & 0x3fffffffu & ~(31u << 26);  // without warning and dynamic bits
}

}  // namespace

std::optional<uint32_t> officeErrorCodeInText(std::string_view text) {
  constexpr std::string_view kMark = "failed: 0x";
  const size_t at = text.find(kMark);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  uint32_t code = 0;
  size_t digits = 0;
  for (size_t i = at + kMark.size(); i < text.size() && digits < 8; ++i, ++digits) {
    const char c = text[i];
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (value < 0) {
      break;
    }
    code = (code << 4) | static_cast<uint32_t>(value);
  }
  if (digits == 0) {
    return std::nullopt;
  }
  return code;
}

uint32_t officeErrorClass(uint32_t code) {
  return (withoutFlags(code) >> 8) & 31u;
}

std::string describeOfficeSaveError(uint32_t code) {
  switch (officeErrorClass(code)) {
    case officeclass::kAbort:
      return "The file could not be written";
    case officeclass::kSpace:
      return "Not enough space on the disk";
    default:
      return describeOfficeError(code);
  }
}

std::string describeOfficeError(uint32_t code) {
  const uint32_t error = withoutFlags(code);
  switch (error) {
    case officeerror::kWrongPassword:
    case officeerror::kCantGetPassword:
    case officeerror::kWrongPasswordSvx:
      return "Wrong password / encrypted document";
    case officeerror::kUnsupportedEncryption:
      return "Encrypted document (unsupported encryption)";
    case officeerror::kFormatAtPosition:
      return "File format error";
    case officeerror::kBrokenPackage:
      return "File is corrupt";
    case officeerror::kAbort:
      return "Loading was aborted";
    default:
      break;
  }
  switch (officeErrorClass(error)) {
    case 1:
      return "Operation aborted";
    case 2:
      return "General input/output error";
    case 3:
      return "File not found";
    case 4:
      return "File already exists";
    case 5:
      return "Access denied";
    case 6:
      return "Path not found";
    case 7:
      return "File is locked";
    case 8:
      return "Invalid parameter";
    case 9:
      return "Not enough space";
    case 10:
      return "Operation not supported";
    case 11:
      return "Read error";
    case 12:
      return "Write error";
    case 14:
      return "Wrong file format version";
    case 15:
      return "File format error";
    case 16:
      return "File cannot be created";
    case 17:
      return "Import error";
    case 18:
      return "Export error";
    default:
      return "Unknown error";
  }
}

std::string officeErrorText(uint32_t code) {
  return officeErrorText(code, describeOfficeError(code));
}

std::string officeErrorText(uint32_t code, const std::string& words) {
  return "[Error:" + std::to_string(code) + "] " + words;
}

}  // namespace kelvara::word::lo
