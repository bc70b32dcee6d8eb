#include "word/lo/OfficeErrors.h"

namespace kelvara::word::lo {

std::string describeOfficeError(uint32_t code) {
  const uint32_t error = code & 0x3fffffffu & ~(31u << 26);  // without warning and dynamic bits
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
  switch ((error >> 8) & 31u) {
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
