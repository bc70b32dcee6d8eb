#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara::run {

// Windows file-mask matching: case-insensitive; "*" any run of characters, "?" one character;
// "*.*" matches every name, "*." only names without an extension, "name.*" also "name", and
// "?" before a dot or the end also matches nothing (so "a?.txt" matches "a.txt").
bool MatchesMask(std::string_view name, std::string_view mask);

// A sorted list of masks (case-insensitive order) in which a mask equal to one already held,
// ignoring case, is left out.
class MaskList {
 public:
  // Replaces the list by the items of a comma text: items are separated by commas or blanks; an
  // item in double quotes may contain both (a doubled quote stands for one quote).
  void setCommaText(std::string_view text);
  // Replaces the list by this one mask.
  void setSingle(const std::string& mask);
  void clear() { masks_.clear(); }
  void add(const std::string& mask);

  // The first mask of the list, or empty.
  std::string first() const;
  std::string commaText() const;
  const std::vector<std::string>& masks() const { return masks_; }
  bool empty() const { return masks_.empty(); }
  // The name matches at least one mask of the list.
  bool matchesAny(std::string_view name) const;

 private:
  std::vector<std::string> masks_;
};

}  // namespace kelvara::run
