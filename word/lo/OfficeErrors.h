#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::word::lo {

// Error codes of the office (the numbers its interaction requests carry): area, class and code
// packed into 32 bits; the classes below are the ones that tell a user what went wrong.
namespace officeerror {
constexpr uint32_t make(uint32_t area, uint32_t errorClass, uint32_t code) {
  return (area << 13) | (errorClass << 8) | code;
}
constexpr uint32_t kNotExists = make(0, 3, 2);
constexpr uint32_t kAccessDenied = make(0, 5, 7);
constexpr uint32_t kGeneral = make(0, 2, 13);
constexpr uint32_t kCantRead = make(0, 11, 15);
constexpr uint32_t kWrongFormat = make(0, 15, 21);
constexpr uint32_t kAbort = make(0, 1, 27);
constexpr uint32_t kBrokenPackage = make(0, 15, 38);
constexpr uint32_t kWrongPassword = make(2, 11, 11);
constexpr uint32_t kCantGetPassword = make(2, 11, 42);
constexpr uint32_t kFormatAtPosition = make(2, 0, 57);
constexpr uint32_t kWrongPasswordSvx = make(8, 0, 15);
constexpr uint32_t kUnsupportedEncryption = make(8, 11, 16);
}  // namespace officeerror

// A few words that say what an office error code means.
std::string describeOfficeError(uint32_t code);
// The same for the code of a failed save, where an abort means the office gave up writing.
std::string describeOfficeSaveError(uint32_t code);

// The error code in the text of an office exception ("... failed: 0x20d(Error Area:Io ..."), the
// only place a failed store keeps it; nullopt when the text holds none.
std::optional<uint32_t> officeErrorCodeInText(std::string_view text);

// The office's class of the error code ("Space", "Write", ...), without area and code.
uint32_t officeErrorClass(uint32_t code);
namespace officeclass {
constexpr uint32_t kAbort = 1;
constexpr uint32_t kGeneral = 2;
constexpr uint32_t kSpace = 9;
constexpr uint32_t kWrite = 12;
constexpr uint32_t kCreate = 16;
}  // namespace officeclass

// "[Error:<code>] <words>", the form of the last-error text.
std::string officeErrorText(uint32_t code);
std::string officeErrorText(uint32_t code, const std::string& words);

}  // namespace kelvara::word::lo
