#include "TestOffice.h"

#include "word/lo/Sections.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/embed/OLESimpleStorage.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/ucb/SimpleFileAccess.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <algorithm>

#include "EngineTestSupport.h"
#include "word/lo/FileUrl.h"
#include "word/lo/OfficeSupervisor.h"
#include "word/lo/OfficeZipPackage.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::testing {
namespace {

namespace css = ::com::sun::star;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using lo::property;
using lo::toOU;

std::string readAll(const Reference<css::io::XInputStream>& stream) {
  std::string data;
  for (;;) {
    css::uno::Sequence<sal_Int8> chunk;
    const sal_Int32 got = stream->readBytes(chunk, 1 << 16);
    if (got <= 0) {
      break;
    }
    data.append(reinterpret_cast<const char*>(chunk.getConstArray()), static_cast<size_t>(got));
  }
  stream->closeInput();
  return data;
}

void appendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

}  // namespace

TestOffice::TestOffice(const std::string& stateDir) {
  LibreOfficeOptions options;
  options.stateDir = stateDir;
  options.instanceName = "kelvara-test-maker";
  options.connectTimeoutSeconds = 60;
  options.docTimeoutSeconds = 0;
  office_ = std::make_unique<lo::OfficeSupervisor>(options);
  office_->connect();
}

TestOffice::~TestOffice() {
  office_->quit();
}

void TestOffice::write(const std::string& path, const std::string& filter,
                       const MadeDocument& document) {
  const auto& desktop = office_->connection().desktop();
  Reference<css::lang::XComponent> component = desktop->loadComponentFromURL(
      "private:factory/swriter", "_blank", 0, lo::toSequence({property("Hidden", Any(true))}));
  Reference<css::text::XTextDocument> textDocument(component, UNO_QUERY_THROW);
  Reference<css::text::XText> text = textDocument->getText();
  Reference<css::text::XTextRange> cursor(text->createTextCursor(), UNO_QUERY_THROW);
  for (size_t i = 0; i < document.paragraphs.size(); ++i) {
    if (i > 0) {
      text->insertControlCharacter(cursor, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    }
    text->insertString(cursor, toOU(document.paragraphs[i]), false);
  }
  if (!document.trackedInsertion.empty()) {
    Reference<css::beans::XPropertySet> settings(component, UNO_QUERY_THROW);
    settings->setPropertyValue("RecordChanges", Any(true));
    text->insertControlCharacter(cursor, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    text->insertString(cursor, toOU(document.trackedInsertion), false);
  }
  std::vector<css::beans::PropertyValue> args{property("FilterName", Any(toOU(filter)))};
  if (filter == "Text (encoded)") {
    args.push_back(property("FilterOptions", Any(toOU("UTF8,CRLF,,,false"))));
  }
  if (!document.password.empty()) {
    args.push_back(property("Password", Any(toOU(document.password))));
  }
  Reference<css::frame::XStorable> storable(component, UNO_QUERY_THROW);
  storable->storeToURL(toOU(lo::fileUrlFromPath(path)), lo::toSequence(args));
  Reference<css::util::XCloseable>(component, UNO_QUERY_THROW)->close(true);
}

template <typename Walk>
auto TestOffice::withOpened(const std::string& path, Walk walk) {
  const auto& desktop = office_->connection().desktop();
  Reference<css::lang::XComponent> component = desktop->loadComponentFromURL(
      toOU(lo::fileUrlFromPath(path)), "_blank", 0,
      lo::toSequence({property("Hidden", Any(true)), property("ReadOnly", Any(true))}));
  const auto result = walk(Reference<css::frame::XModel>(component, UNO_QUERY_THROW));
  Reference<css::util::XCloseable>(component, UNO_QUERY_THROW)->close(true);
  return result;
}

int32_t TestOffice::countLinesStepByStep(const std::string& path, lo::LineWalkBounds bounds) {
  return withOpened(path, [&](const Reference<css::frame::XModel>& model) {
    return lo::countLinesStepByStep(model, bounds);
  });
}

std::optional<int32_t> TestOffice::countLinesInOffice(const std::string& path,
                                                      lo::LineWalkBounds bounds) {
  return withOpened(path, [&](const Reference<css::frame::XModel>& model) {
    return lo::countLinesInOffice(model, bounds);
  });
}

namespace {

// The sections in words, with a check that each holds as many elements as it says.
std::vector<std::string> describe(const std::vector<lo::SectionRun>& sections) {
  std::vector<std::string> out;
  for (const lo::SectionRun& run : sections) {
    out.push_back(std::to_string(run.firstElement) + "+" + std::to_string(run.elementCount) + ":" +
                  run.pageStyle +
                  (run.elements.size() == static_cast<size_t>(run.elementCount) ? "" : " (!)"));
  }
  return out;
}

}  // namespace

std::vector<std::string> TestOffice::sectionsStepByStep(const std::string& path) {
  return withOpened(path, [&](const Reference<css::frame::XModel>& model) {
    return describe(lo::readSectionsStepByStep(model));
  });
}

std::optional<std::vector<std::string>> TestOffice::sectionsInOffice(const std::string& path) {
  return withOpened(path, [&](const Reference<css::frame::XModel>& model) {
    const auto sections = lo::readSectionsInOffice(model);
    return sections ? std::optional(describe(*sections)) : std::nullopt;
  });
}

std::optional<std::string> TestOffice::zipEntry(const std::string& path, const std::string& name) {
  try {
    return lo::OfficeZipPackage(office_->connection(), path).read(name, SIZE_MAX);
  } catch (const css::uno::Exception&) {
    return std::nullopt;
  }
}

std::vector<std::string> TestOffice::zipEntryNames(const std::string& path) {
  try {
    return lo::OfficeZipPackage(office_->connection(), path).partNames();
  } catch (const css::uno::Exception&) {
    return {};
  }
}

std::string TestOffice::zipWith(
    const std::string& path,
    const std::vector<std::pair<std::string, std::optional<std::string>>>& changes) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& name : zipEntryNames(path)) {
    entries.emplace_back(name, zipEntry(path, name).value_or(""));
  }
  for (const auto& [name, data] : changes) {
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&name](const auto& entry) { return entry.first == name; });
    if (!data) {
      if (it != entries.end()) {
        entries.erase(it);
      }
    } else if (it == entries.end()) {
      entries.emplace_back(name, *data);
    } else {
      it->second = *data;
    }
  }
  return storedZip(entries);
}

std::optional<std::string> TestOffice::oleStream(const std::string& path, const std::string& name) {
  try {
    const auto& context = office_->connection().context();
    auto files = css::ucb::SimpleFileAccess::create(context);
    auto storage = css::embed::OLESimpleStorage::createFromInputStream(
        context, files->openFileRead(toOU(lo::fileUrlFromPath(path))), true);
    if (!storage->hasByName(toOU(name))) {
      return std::nullopt;
    }
    return readAll(
        Reference<css::io::XInputStream>(storage->getByName(toOU(name)), UNO_QUERY_THROW));
  } catch (const css::uno::Exception&) {
    return std::nullopt;
  }
}

std::string wordPerfect5File(const std::vector<std::string>& paragraphs) {
  // The prefix: signature, where the document starts, product 1 (WordPerfect), file type 10
  // (document), version 5.1, no encryption.
  std::string file = "\xffWPC";
  appendLittleEndian(file, 16, 4);
  file += std::string("\x01\x0a\x00\x01", 4);
  appendLittleEndian(file, 0, 4);
  for (const auto& paragraph : paragraphs) {
    file += paragraph + "\x0a";  // a hard return
  }
  return file;
}

std::string windowsWriteFile(const std::vector<std::string>& paragraphs) {
  std::string text;
  for (const auto& paragraph : paragraphs) {
    text += paragraph + "\r\n";
  }
  // A header page, the text, then one page of character and one of paragraph properties,
  // each with a single run in the default properties over the whole text.
  const auto textEnd = static_cast<uint32_t>(128 + text.size());
  const uint32_t characterPage = (textEnd + 127) / 128;
  const uint32_t paragraphPage = characterPage + 1;
  const uint32_t end = paragraphPage + 1;
  std::vector<uint16_t> header(64, 0);
  header[0] = 0xBE31;  // Write 3.0
  header[2] = 0xAB00;
  header[7] = static_cast<uint16_t>(textEnd & 0xFFFF);
  header[8] = static_cast<uint16_t>(textEnd >> 16);
  header[9] = static_cast<uint16_t>(paragraphPage);
  for (int i = 10; i <= 14; ++i) {
    header[i] = static_cast<uint16_t>(end);  // no footnotes, sections, page or font tables
  }
  header[48] = static_cast<uint16_t>(end);
  std::string file;
  for (uint16_t word : header) {
    appendLittleEndian(file, word, 2);
  }
  file += text;
  file.resize(characterPage * 128, '\0');
  for (int page = 0; page < 2; ++page) {
    std::string properties;
    appendLittleEndian(properties, 128, 4);      // first character covered
    appendLittleEndian(properties, textEnd, 4);  // run end
    appendLittleEndian(properties, 0xFFFF, 2);   // default properties
    properties.resize(127, '\0');
    properties += '\x01';  // one run
    file += properties;
  }
  return file;
}

}  // namespace kelvara::word::testing
