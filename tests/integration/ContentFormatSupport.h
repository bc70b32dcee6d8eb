#pragma once

// What the content formatting tests share: an engine of their own, documents written as RTF,
// and the parts of a saved .docx they read back.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "support/ZipEntry.h"

namespace kelvara::word::testing {

constexpr int32_t kDocxFormat = 16;

// The elements <w:tag> or <w:tag ...> ... </w:tag> of a WordprocessingML part, in order (not
// nested in themselves, which paragraphs and runs of the body are not).
inline std::vector<std::string> elements(const std::string& xml, const std::string& tag) {
  std::vector<std::string> out;
  const std::string open = "<" + tag;
  const std::string close = "</" + tag + ">";
  for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
    const char next = xml[at + open.size()];
    if (next != '>' && next != ' ' && next != '/') {
      continue;  // <w:pPr> when looking for <w:p>
    }
    const size_t selfClosed = xml.find("/>", at);
    const size_t tagEnd = xml.find('>', at);
    if (selfClosed != std::string::npos && selfClosed + 1 == tagEnd) {
      out.push_back(xml.substr(at, tagEnd + 1 - at));
      continue;
    }
    const size_t end = xml.find(close, at);
    if (end == std::string::npos) {
      break;
    }
    out.push_back(xml.substr(at, end + close.size() - at));
  }
  return out;
}

// The value of an attribute of the first <w:element> in a fragment; nullopt when the element
// or the attribute is missing.
inline std::optional<std::string> attribute(const std::string& fragment, const std::string& element,
                                            const std::string& name) {
  const std::vector<std::string> found = elements(fragment, element);
  if (found.empty()) {
    return std::nullopt;
  }
  const std::string& start = found.front().substr(0, found.front().find('>'));
  const std::string key = " " + name + "=\"";
  const size_t at = start.find(key);
  if (at == std::string::npos) {
    return std::nullopt;
  }
  const size_t begin = at + key.size();
  return start.substr(begin, start.find('"', begin) - begin);
}

inline bool has(const std::string& fragment, const std::string& element) {
  return !elements(fragment, element).empty();
}

// The text of a paragraph or run: its <w:t> contents.
inline std::string textOf(const std::string& fragment) {
  std::string text;
  for (const std::string& t : elements(fragment, "w:t")) {
    const size_t begin = t.find('>') + 1;
    const size_t end = t.rfind("</w:t>");
    if (end != std::string::npos && end >= begin) {
      text += t.substr(begin, end - begin);
    }
  }
  return text;
}

// An engine of the test suite's own, and a fresh folder per test.
class ContentFormatTest : public OfficeSuite<ContentFormatTest> {
 protected:
  static void startEngine(const std::string& name) { startOffice(name); }

  void SetUp() override { dir_ = std::make_unique<TempDir>("content"); }

  std::string file(const std::string& name) const { return dir_->file(name); }

  // Writes the RTF and opens it under the engine's document protocol.
  std::unique_ptr<Document> openRtf(const std::string& name, const std::string& rtf) {
    writeFile(file(name), rtf);
    return open(file(name));
  }

  std::unique_ptr<Document> open(const std::string& path) {
    engine_->beginDocument(false);
    auto document = engine_->open(OpenRequest{path, 0, false, false});
    if (!document) {
      engine_->endDocument();
      ADD_FAILURE() << engine_->lastErrorText();
    }
    return document;
  }

  void close(std::unique_ptr<Document>& document) {
    document->close();
    document.reset();
    engine_->endDocument();
  }

  // Saves as .docx, closes, and gives the body part.
  std::string savedBody(std::unique_ptr<Document>& document, const std::string& name) {
    document->saveAs(SaveRequest{file(name), kDocxFormat, {}});
    close(document);
    return kelvara::testing::ReadZipEntry(file(name), "word/document.xml").value_or("");
  }

  std::unique_ptr<TempDir> dir_;
};


}  // namespace kelvara::word::testing
