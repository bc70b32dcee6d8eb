#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::word::lo {

// Read access to the parts of a ZIP package (a .docx and its kin).
class PackageSource {
 public:
  virtual ~PackageSource() = default;
  virtual std::vector<std::string> partNames() const = 0;  // as stored, without leading "/"
  // Up to maxBytes of the part; nullopt when it cannot be read.
  virtual std::optional<std::string> read(const std::string& partName, size_t maxBytes) const = 0;
};

// The parts given as strings (tests, and packages already in memory).
class MemoryPackage : public PackageSource {
 public:
  explicit MemoryPackage(std::map<std::string, std::string> parts) : parts_(std::move(parts)) {}
  std::vector<std::string> partNames() const override;
  std::optional<std::string> read(const std::string& partName, size_t maxBytes) const override;

 private:
  std::map<std::string, std::string> parts_;
};

// Why a word-processing package breaks the packaging rules that its readers must enforce, or
// nullopt when it keeps them. The office reads such packages leniently; the word processor
// reports them as corrupt. Checked: the package relationships point at parts that exist, the
// property parts carry their content types, at most one core-properties part that follows its
// rules (no markup-compatibility, no xml:lang, only created and modified from the DC terms,
// both typed W3CDTF), and every prefix that the main part declares ignorable is bound.
std::optional<std::string> checkWordPackage(const PackageSource& package);

// One start tag of an XML text: its name and attributes as written (entities decoded).
struct XmlStartTag {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  bool complete = true;  // false when the text ends inside the tag
};

// The start tags of an XML text in document order (declarations, comments and end tags
// skipped). Enough for the small, flat parts checked here; not a validating parser.
std::vector<XmlStartTag> xmlStartTags(const std::string& xml, size_t limit = SIZE_MAX);

}  // namespace kelvara::word::lo
