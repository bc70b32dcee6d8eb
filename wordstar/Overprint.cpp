#include "wordstar/Overprint.h"

namespace kelvara::wordstar {
namespace {

struct Composition {
  char32_t mark;
  char32_t base;
  char32_t result;
};

// Accents typed over a letter with the overprint code, as printers combined them.
constexpr Composition kCompositions[] = {
    {U'\'', U'a', 0x00E1}, {U'\'', U'e', 0x00E9}, {U'\'', U'i', 0x00ED}, {U'\'', U'o', 0x00F3},
    {U'\'', U'u', 0x00FA}, {U'\'', U'y', 0x00FD}, {U'\'', U'c', 0x0107}, {U'\'', U'n', 0x0144},
    {U'\'', U'A', 0x00C1}, {U'\'', U'E', 0x00C9}, {U'\'', U'I', 0x00CD}, {U'\'', U'O', 0x00D3},
    {U'\'', U'U', 0x00DA}, {U'\'', U'Y', 0x00DD}, {U'\'', U'C', 0x0106}, {U'\'', U'N', 0x0143},
    {U'`', U'a', 0x00E0},  {U'`', U'e', 0x00E8},  {U'`', U'i', 0x00EC},  {U'`', U'o', 0x00F2},
    {U'`', U'u', 0x00F9},  {U'`', U'A', 0x00C0},  {U'`', U'E', 0x00C8},  {U'`', U'I', 0x00CC},
    {U'`', U'O', 0x00D2},  {U'`', U'U', 0x00D9},  {U'^', U'a', 0x00E2},  {U'^', U'e', 0x00EA},
    {U'^', U'i', 0x00EE},  {U'^', U'o', 0x00F4},  {U'^', U'u', 0x00FB},  {U'^', U'y', 0x0177},
    {U'^', U'c', 0x0109},  {U'^', U'A', 0x00C2},  {U'^', U'E', 0x00CA},  {U'^', U'I', 0x00CE},
    {U'^', U'O', 0x00D4},  {U'^', U'U', 0x00DB},  {U'^', U'Y', 0x0176},  {U'^', U'C', 0x0108},
    {U'\"', U'a', 0x00E4}, {U'\"', U'e', 0x00EB}, {U'\"', U'i', 0x00EF}, {U'\"', U'o', 0x00F6},
    {U'\"', U'u', 0x00FC}, {U'\"', U'y', 0x00FF}, {U'\"', U'A', 0x00C4}, {U'\"', U'E', 0x00CB},
    {U'\"', U'I', 0x00CF}, {U'\"', U'O', 0x00D6}, {U'\"', U'U', 0x00DC}, {U'\"', U'Y', 0x0178},
    {U'~', U'a', 0x00E3},  {U'~', U'i', 0x0129},  {U'~', U'o', 0x00F5},  {U'~', U'u', 0x0169},
    {U'~', U'n', 0x00F1},  {U'~', U'A', 0x00C3},  {U'~', U'I', 0x0128},  {U'~', U'O', 0x00D5},
    {U'~', U'U', 0x0168},  {U'~', U'N', 0x00D1},  {U',', U'c', 0x00E7},  {U',', U'n', 0x0146},
    {U',', U'C', 0x00C7},  {U',', U'N', 0x0145},  {U'/', U'o', 0x00F8},  {U'/', U'O', 0x00D8},
};

}  // namespace

std::optional<char32_t> composeOverprint(char32_t first, char32_t second) {
  for (const Composition& c : kCompositions) {
    if ((first == c.base && second == c.mark) || (first == c.mark && second == c.base)) {
      return c.result;
    }
  }
  return std::nullopt;
}

}  // namespace kelvara::wordstar
