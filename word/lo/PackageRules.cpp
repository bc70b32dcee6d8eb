#include "word/lo/PackageRules.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace kelvara::word::lo {
namespace {

constexpr size_t kSmallPart = 1 << 20;  // relationships, content types, properties
constexpr size_t kRootTagLimit = 1 << 20;

constexpr const char* kMarkupCompatibility =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";
constexpr const char* kDcTerms = "http://purl.org/dc/terms/";
constexpr const char* kCoreType = "application/vnd.openxmlformats-package.core-properties+xml";
constexpr const char* kExtendedType =
    "application/vnd.openxmlformats-officedocument.extended-properties+xml";

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string decodeEntities(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    const auto semi = s.find(';', i);
    if (semi == std::string::npos) {
      out += s[i];
      continue;
    }
    const std::string entity = s.substr(i + 1, semi - i - 1);
    if (entity == "amp") {
      out += '&';
    } else if (entity == "lt") {
      out += '<';
    } else if (entity == "gt") {
      out += '>';
    } else if (entity == "quot") {
      out += '"';
    } else if (entity == "apos") {
      out += '\'';
    } else {
      out += s.substr(i, semi - i + 1);
    }
    i = semi;
  }
  return out;
}

std::string percentDecode(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// A relationship target of the package relationships as a part name ("word/document.xml").
std::string resolveFromRoot(const std::string& target) {
  std::vector<std::string> segments;
  size_t start = 0;
  const std::string path = percentDecode(target);
  while (start <= path.size()) {
    auto end = path.find('/', start);
    if (end == std::string::npos) {
      end = path.size();
    }
    const std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) {
        segments.pop_back();
      }
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string name;
  for (const auto& s : segments) {
    name += (name.empty() ? "" : "/") + s;
  }
  return name;
}

const std::string* attribute(const XmlStartTag& tag, const std::string& name) {
  for (const auto& [key, value] : tag.attributes) {
    if (key == name) {
      return &value;
    }
  }
  return nullptr;
}

std::string localName(const std::string& qualified) {
  const auto colon = qualified.find(':');
  return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

std::string prefixOf(const std::string& qualified) {
  const auto colon = qualified.find(':');
  return colon == std::string::npos ? std::string() : qualified.substr(0, colon);
}

// The content type of a part from [Content_Types].xml: an override for its name, else the
// default for its extension (both compared without regard to case).
class ContentTypes {
 public:
  explicit ContentTypes(const std::string& xml) {
    for (const auto& tag : xmlStartTags(xml)) {
      const std::string local = localName(tag.name);
      const std::string* type = attribute(tag, "ContentType");
      if (!type) {
        continue;
      }
      if (local == "Default") {
        if (const std::string* ext = attribute(tag, "Extension")) {
          defaults_[lower(*ext)] = *type;
        }
      } else if (local == "Override") {
        if (const std::string* part = attribute(tag, "PartName")) {
          overrides_[lower(resolveFromRoot(*part))] = *type;
        }
      }
    }
  }

  std::string of(const std::string& partName) const {
    if (auto it = overrides_.find(lower(partName)); it != overrides_.end()) {
      return it->second;
    }
    const auto dot = partName.find_last_of('.');
    if (dot != std::string::npos) {
      if (auto it = defaults_.find(lower(partName.substr(dot + 1))); it != defaults_.end()) {
        return it->second;
      }
    }
    return {};
  }

 private:
  std::map<std::string, std::string> defaults_;
  std::map<std::string, std::string> overrides_;
};

// The package relationships: part names by their type's last path segment
// ("officeDocument", "core-properties", ...), external targets left out.
struct PackageRelationship {
  std::string type;
  std::string part;
};

std::vector<PackageRelationship> packageRelationships(const std::string& relsXml) {
  std::vector<PackageRelationship> found;
  for (const auto& tag : xmlStartTags(relsXml)) {
    if (localName(tag.name) != "Relationship") {
      continue;
    }
    const std::string* target = attribute(tag, "Target");
    const std::string* type = attribute(tag, "Type");
    const std::string* mode = attribute(tag, "TargetMode");
    if (!target || !type || (mode && *mode == "External")) {
      continue;
    }
    const auto slash = type->find_last_of('/');
    found.push_back(
        {slash == std::string::npos ? *type : type->substr(slash + 1), resolveFromRoot(*target)});
  }
  return found;
}

void addOnce(std::vector<std::string>& list, std::string item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) {
    list.push_back(std::move(item));
  }
}

std::vector<std::string> checkCoreProperties(const std::string& xml) {
  std::vector<std::string> problems;
  const auto tags = xmlStartTags(xml);
  std::set<std::string> dcTermsPrefixes;
  for (const auto& tag : tags) {
    for (const auto& [key, value] : tag.attributes) {
      if (value == kMarkupCompatibility && (key == "xmlns" || key.rfind("xmlns:", 0) == 0)) {
        addOnce(problems, "the core properties use markup compatibility");
      }
      if (key == "xml:lang") {
        addOnce(problems, "the core properties carry xml:lang");
      }
      if (value == kDcTerms && key.rfind("xmlns:", 0) == 0) {
        dcTermsPrefixes.insert(key.substr(6));
      }
    }
  }
  for (const auto& tag : tags) {
    if (!dcTermsPrefixes.count(prefixOf(tag.name))) {
      continue;
    }
    const std::string local = localName(tag.name);
    if (local != "created" && local != "modified") {
      addOnce(problems, "the core properties use dcterms:" + local);
      continue;
    }
    bool typed = false;
    for (const auto& [key, value] : tag.attributes) {
      if (localName(key) == "type" && localName(value) == "W3CDTF") {
        typed = true;
      }
    }
    if (!typed) {
      addOnce(problems, "the core properties give dcterms:" + local + " without its W3CDTF type");
    }
  }
  return problems;
}

std::optional<std::string> checkIgnorablePrefixes(const XmlStartTag& root) {
  std::set<std::string> declared;
  std::set<std::string> mcPrefixes;
  for (const auto& [key, value] : root.attributes) {
    if (key.rfind("xmlns:", 0) == 0) {
      declared.insert(key.substr(6));
      if (value == kMarkupCompatibility) {
        mcPrefixes.insert(key.substr(6));
      }
    }
  }
  for (const auto& [key, value] : root.attributes) {
    if (localName(key) != "Ignorable" || !mcPrefixes.count(prefixOf(key))) {
      continue;
    }
    size_t start = 0;
    while (start < value.size()) {
      const auto end = value.find_first_of(" \t\r\n", start);
      const std::string prefix =
          value.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!prefix.empty() && !declared.count(prefix)) {
        return "the main part declares an unbound prefix ignorable";
      }
      if (end == std::string::npos) {
        break;
      }
      start = end + 1;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> MemoryPackage::partNames() const {
  std::vector<std::string> names;
  for (const auto& [name, data] : parts_) {
    names.push_back(name);
  }
  return names;
}

std::optional<std::string> MemoryPackage::read(const std::string& partName, size_t maxBytes) const {
  auto it = parts_.find(partName);
  if (it == parts_.end()) {
    return std::nullopt;
  }
  return it->second.substr(0, maxBytes);
}

std::vector<XmlStartTag> xmlStartTags(const std::string& xml, size_t limit) {
  std::vector<XmlStartTag> tags;
  size_t i = 0;
  const size_t n = xml.size();
  while (i < n && tags.size() < limit) {
    const auto open = xml.find('<', i);
    if (open == std::string::npos || open + 1 >= n) {
      break;
    }
    const char next = xml[open + 1];
    if (next == '?' || next == '!' || next == '/') {
      const char* close = next == '!' && xml.compare(open, 4, "<!--") == 0 ? "-->" : ">";
      const auto end = xml.find(close, open + 1);
      if (end == std::string::npos) {
        break;
      }
      i = end + 1;
      continue;
    }
    XmlStartTag tag;
    size_t p = open + 1;
    while (p < n && !std::isspace(static_cast<unsigned char>(xml[p])) && xml[p] != '>' &&
           xml[p] != '/') {
      tag.name += xml[p++];
    }
    tag.complete = false;
    while (p < n) {
      while (p < n && std::isspace(static_cast<unsigned char>(xml[p]))) {
        ++p;
      }
      if (p >= n) {
        break;
      }
      if (xml[p] == '>' || xml[p] == '/') {
        const auto end = xml.find('>', p);
        if (end == std::string::npos) {
          p = n;
          break;
        }
        tag.complete = true;
        p = end + 1;
        break;
      }
      std::string key;
      while (p < n && xml[p] != '=' && !std::isspace(static_cast<unsigned char>(xml[p])) &&
             xml[p] != '>') {
        key += xml[p++];
      }
      while (p < n && (std::isspace(static_cast<unsigned char>(xml[p])) || xml[p] == '=')) {
        ++p;
      }
      if (p >= n || (xml[p] != '"' && xml[p] != '\'')) {
        continue;
      }
      const char quote = xml[p];
      const auto end = xml.find(quote, p + 1);
      if (end == std::string::npos) {
        p = n;
        break;
      }
      tag.attributes.emplace_back(key, decodeEntities(xml.substr(p + 1, end - p - 1)));
      p = end + 1;
    }
    tags.push_back(std::move(tag));
    i = p;
  }
  return tags;
}

PackageFindings checkWordPackage(const PackageSource& package) {
  PackageFindings findings;
  std::map<std::string, std::string> names;  // lower-case name -> stored name
  for (const auto& name : package.partNames()) {
    names[lower(name)] = name;
  }
  const auto contentTypesXml = package.read("[Content_Types].xml", kSmallPart);
  const auto relsXml = package.read("_rels/.rels", kSmallPart);
  if (!contentTypesXml || !relsXml) {
    return findings;  // not a package the office would take for a word-processing one
  }
  const ContentTypes contentTypes(*contentTypesXml);
  auto& ignored = findings.ignoredFaults;

  int coreParts = 0;
  bool mainPart = false;
  for (const auto& relationship : packageRelationships(*relsXml)) {
    const std::string& part = relationship.part;
    const auto stored = names.find(lower(part));
    if (relationship.type == "officeDocument") {
      if (mainPart) {
        continue;  // the first one names the main part
      }
      mainPart = true;
      if (stored == names.end()) {
        findings.unreadable = "the main part " + part + " is missing";
        return findings;
      }
      const auto head = package.read(stored->second, kRootTagLimit);
      const auto root = head ? xmlStartTags(*head, 1) : std::vector<XmlStartTag>{};
      if (root.empty()) {
        continue;
      }
      if (!root.front().complete) {
        // The part ends inside its first element, unless that element is longer than the
        // head read of it.
        if (head->size() < kRootTagLimit) {
          findings.unreadable = "the main part " + part + " is cut off";
          return findings;
        }
      } else if (auto problem = checkIgnorablePrefixes(root.front())) {
        addOnce(ignored, *problem);
      }
      continue;
    }
    if (stored == names.end()) {
      addOnce(ignored, "the part " + part + " named by the package is missing");
      continue;
    }
    if (relationship.type == "core-properties") {
      ++coreParts;
      if (contentTypes.of(part) != kCoreType) {
        addOnce(ignored, "the core properties part has the wrong content type");
      }
      if (const auto xml = package.read(stored->second, kSmallPart)) {
        for (auto& problem : checkCoreProperties(*xml)) {
          addOnce(ignored, std::move(problem));
        }
      }
    } else if (relationship.type == "extended-properties") {
      if (contentTypes.of(part) != kExtendedType) {
        addOnce(ignored, "the extended properties part has the wrong content type");
      }
    }
  }
  if (!mainPart) {
    findings.unreadable = "the package names no main part";
    return findings;
  }
  if (coreParts > 1) {
    addOnce(ignored, "the package has more than one core properties part");
  }
  return findings;
}

std::optional<std::string> mainPartName(const PackageSource& package) {
  const auto relsXml = package.read("_rels/.rels", kSmallPart);
  if (!relsXml) {
    return std::nullopt;
  }
  std::map<std::string, std::string> names;
  for (const auto& name : package.partNames()) {
    names[lower(name)] = name;
  }
  for (const auto& relationship : packageRelationships(*relsXml)) {
    if (relationship.type == "officeDocument") {
      const auto stored = names.find(lower(relationship.part));
      return stored == names.end() ? std::nullopt : std::optional(stored->second);
    }
  }
  return std::nullopt;
}

bool wordprocessingHasBodyText(const std::string& xml) {
  static const std::set<std::string> kMainNamespaces = {
      "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
      "http://purl.oclc.org/ooxml/wordprocessingml/main"};
  // The prefixes of the main namespace, as the root element declares them ("" for a default
  // namespace).
  std::set<std::string> prefixes;
  const auto root = xmlStartTags(xml, 1);
  if (root.empty()) {
    return false;
  }
  for (const auto& [key, value] : root.front().attributes) {
    if (kMainNamespaces.count(value)) {
      if (key == "xmlns") {
        prefixes.insert("");
      } else if (key.rfind("xmlns:", 0) == 0) {
        prefixes.insert(key.substr(6));
      }
    }
  }
  auto isMain = [&prefixes](const std::string& name, const char* local) {
    return localName(name) == local && prefixes.count(prefixOf(name));
  };
  int textBoxDepth = 0;  // inside text boxes and alternative content
  size_t i = 0;
  const size_t n = xml.size();
  while (i < n) {
    const auto open = xml.find('<', i);
    if (open == std::string::npos || open + 1 >= n) {
      break;
    }
    if (xml.compare(open, 4, "<!--") == 0) {
      const auto end = xml.find("-->", open + 4);
      i = end == std::string::npos ? n : end + 3;
      continue;
    }
    const bool closing = xml[open + 1] == '/';
    size_t p = open + (closing ? 2 : 1);
    std::string name;
    while (p < n && !std::isspace(static_cast<unsigned char>(xml[p])) && xml[p] != '>' &&
           xml[p] != '/') {
      name += xml[p++];
    }
    // The end of the tag, passing over quoted attribute values (which may hold '>').
    char quote = 0;
    while (p < n && (quote || xml[p] != '>')) {
      if (quote && xml[p] == quote) {
        quote = 0;
      } else if (!quote && (xml[p] == '"' || xml[p] == '\'')) {
        quote = xml[p];
      }
      ++p;
    }
    if (p >= n) {
      break;
    }
    const bool empty = !closing && xml[p - 1] == '/';
    i = p + 1;
    if (isMain(name, "txbxContent") || localName(name) == "AlternateContent") {
      if (closing) {
        textBoxDepth = std::max(0, textBoxDepth - 1);
      } else if (!empty) {
        ++textBoxDepth;
      }
      continue;
    }
    if (closing || empty || textBoxDepth > 0 || !isMain(name, "t")) {
      continue;
    }
    const auto end = xml.find('<', i);
    const std::string text =
        decodeEntities(xml.substr(i, end == std::string::npos ? std::string::npos : end - i));
    if (std::any_of(text.begin(), text.end(), [](unsigned char c) { return !std::isspace(c); })) {
      return true;
    }
  }
  return false;
}

}  // namespace kelvara::word::lo
