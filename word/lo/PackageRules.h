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

// What checking a word-processing package that the office loaded found.
struct PackageFindings {
  // Why the office cannot have read the document (no main part, a main part that is cut off),
  // or nullopt.
  std::optional<std::string> unreadable;
  // Packaging rules the file breaks that its readers are told to enforce but the office
  // passes over, reading the document in full all the same: each a few words, in the order
  // found.
  std::vector<std::string> ignoredFaults;
};

// Checks a package against the packaging rules: the package relationships point at parts that
// exist, the property parts carry their content types, at most one core-properties part that
// follows its rules (no markup-compatibility, no xml:lang, only created and modified from the
// DC terms, both typed W3CDTF), and every prefix that the main part declares ignorable is
// bound. A package the office would not take for a word-processing one finds nothing.
PackageFindings checkWordPackage(const PackageSource& package);

// The name of the part the package relationships name as the main document, or nullopt.
std::optional<std::string> mainPartName(const PackageSource& package);

// True when the markup of a main part holds text that a reader sees in the body: the content
// of the main namespace's text elements, outside text boxes and alternative content (whose
// text the office keeps apart from the body, or may rightly skip). Deleted text, field
// instructions, formulas and drawings' text do not count.
bool wordprocessingHasBodyText(const std::string& xml);

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
