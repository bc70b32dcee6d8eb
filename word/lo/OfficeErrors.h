#pragma once

#include <cstdint>
#include <string>

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

// "[Error:<code>] <words>", the form of the last-error text.
std::string officeErrorText(uint32_t code);
std::string officeErrorText(uint32_t code, const std::string& words);

}  // namespace kelvara::word::lo
