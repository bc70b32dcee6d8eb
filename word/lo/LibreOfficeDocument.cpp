#include "word/lo/LibreOfficeDocument.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XDocumentProperties.hpp>
#include <com/sun/star/document/XDocumentPropertiesSupplier.hpp>
#include <com/sun/star/document/XRedlinesSupplier.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/task/ErrorCodeIOException.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "word/OutputCompleteness.h"
#include "word/lo/BodyLanguages.h"
#include "word/lo/FileUrl.h"
#include "word/lo/FilterMap.h"
#include "word/lo/FontFormatWriter.h"
#include "word/lo/OfficeErrors.h"
#include "word/lo/PageNumbers.h"
#include "word/lo/PageStyleWriter.h"
#include "word/lo/PageStyles.h"
#include "word/lo/ParagraphFormatWriter.h"
#include "word/lo/SectionEdits.h"
#include "word/lo/SpellingCounter.h"
#include "word/lo/StatisticsReader.h"

namespace kelvara::word::lo {
namespace {

namespace fs = std::filesystem;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// A fresh hidden folder beside the output: the office writes there (with any pictures an HTML
// export adds), and only a complete save is moved under the final names.
fs::path makeStagingFolder(const fs::path& folder) {
  static int counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        folder / (".kelvara-save-" + std::to_string(platform::currentProcessId()) + "-" +
                  std::to_string(++counter));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      return candidate;
    }
    if (ec) {
      throw EngineError(EngineError::Kind::Failed, isNoRoomError(ec.value())
                                                       ? fullDiskMessage(folder.string())
                                                       : "Can't write to the output folder " +
                                                             folder.string() + ": " + ec.message());
    }
  }
  throw EngineError(EngineError::Kind::Failed,
                    "Can't write to the output folder " + folder.string());
}

// Moves the staged files into the output folder, the document itself last.
void publishStaged(const fs::path& staging, const fs::path& folder, const fs::path& fileName) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(staging, ec)) {
    if (entry.path().filename() == fileName) {
      continue;
    }
    fs::rename(entry.path(), folder / entry.path().filename(), ec);
    if (ec) {
      break;
    }
  }
  if (!ec) {
    fs::rename(staging / fileName, folder / fileName, ec);
  }
  if (ec) {
    throw EngineError(EngineError::Kind::Failed,
                      isNoRoomError(ec.value())
                          ? fullDiskMessage(folder.string())
                          : "Can't move the saved file into place: " + ec.message());
  }
  fs::remove_all(staging, ec);
}

// The error of a save the office refused, in words. When the disk is (nearly) full, the failure
// is put down to that, whatever class the office gave it: it reports a write cut short by a
// full disk as a general error or an abort as often as a lack of space.
EngineError saveFailure(uint32_t officeCode, const fs::path& folder, const fs::path& target) {
  const uint32_t errorClass = officeErrorClass(officeCode);
  const bool writeFailed = errorClass == officeclass::kAbort ||
                           errorClass == officeclass::kGeneral ||
                           errorClass == officeclass::kWrite || errorClass == officeclass::kCreate;
  if (errorClass == officeclass::kSpace ||
      (writeFailed && looksFull(platform::freeSpace(folder.string())))) {
    return EngineError(EngineError::Kind::Failed, fullDiskMessage(folder.string()));
  }
  return EngineError(EngineError::Kind::Failed,
                     "Can't save " + target.string() + ": " + describeOfficeSaveError(officeCode));
}

// A save the office reported done must have left a complete file: a write that failed without
// the office noticing leaves it empty or cut short.
void requireComplete(const fs::path& staged, const std::string& filter, const fs::path& folder) {
  const std::optional<std::string> problem =
      findIncompleteness(staged.string(), outputKindOfFilter(filter));
  if (!problem) {
    return;
  }
  throw EngineError(EngineError::Kind::Failed,
                    looksFull(platform::freeSpace(folder.string()))
                        ? fullDiskMessage(folder.string())
                        : incompleteOutputMessage(folder.string(), *problem));
}

}  // namespace

LibreOfficeDocument::LibreOfficeDocument(std::shared_ptr<DocumentHost> host, uint64_t generation,
                                         Reference<css::frame::XModel> model, std::string path,
                                         bool storedStatistics,
                                         std::vector<std::string> loadWarnings)
    : host_(std::move(host)),
      generation_(generation),
      model_(std::move(model)),
      path_(std::move(path)),
      storedStatistics_(storedStatistics),
      loadWarnings_(std::move(loadWarnings)) {}

LibreOfficeDocument::~LibreOfficeDocument() {
  close();
}

template <class F>
auto LibreOfficeDocument::guarded(const char* operation, F&& step) {
  if (closed_) {
    throw EngineError(EngineError::Kind::Failed, "The document is already closed");
  }
  if (!host_->sameSession(generation_)) {
    host_->failStaleSession();
  }
  try {
    return step();
  } catch (...) {
    host_->fail(operation);
  }
}

std::string LibreOfficeDocument::path() const {
  return fs::path(path_).parent_path().string();
}

std::string LibreOfficeDocument::name() const {
  return fs::path(path_).filename().string();
}

DocumentStatistics LibreOfficeDocument::computeStatistics() {
  // The pipeline asks before formatting and again after saving; between edits the counts
  // cannot change, and the line walk is the costly part of a small document.
  if (!statistics_) {
    statistics_ = guarded("reading the statistics", [&] {
      if (storedStatistics_) {
        forgetStoredStatistics(model_);
        storedStatistics_ = false;
      }
      return readStatistics(model_);
    });
  }
  return *statistics_;
}

int32_t LibreOfficeDocument::revisionCount() {
  return guarded("counting the revisions", [&]() -> int32_t {
    Reference<css::document::XRedlinesSupplier> supplier(model_, UNO_QUERY);
    if (!supplier.is()) {
      return 0;
    }
    Reference<css::container::XEnumerationAccess> redlines = supplier->getRedlines();
    Reference<css::container::XIndexAccess> indexed(redlines, UNO_QUERY);
    if (indexed.is()) {
      return indexed->getCount();
    }
    int32_t count = 0;
    for (auto it = redlines->createEnumeration(); it->hasMoreElements(); it->nextElement()) {
      ++count;
    }
    return count;
  });
}

SpellingErrors LibreOfficeDocument::spellingErrorCount() {
  const LanguageText body =
      guarded("reading the text for the spelling count", [&] { return readBodyLanguages(model_); });
  return countSpellingErrors(body.text, body.runs, SpellingDictionaries::system());
}

void LibreOfficeDocument::setTrackRevisions(bool on) {
  guarded("switching revision tracking", [&] {
    Reference<css::beans::XPropertySet>(model_, UNO_QUERY_THROW)
        ->setPropertyValue("RecordChanges", Any(on));
  });
}

void LibreOfficeDocument::setPrintRevisions(bool) {
  // The office prints revisions as it shows them; there is no separate switch to set.
}

void LibreOfficeDocument::setShowRevisions(bool on) {
  guarded("showing the revisions", [&] {
    Reference<css::beans::XPropertySet> props(model_, UNO_QUERY_THROW);
    if (props->getPropertySetInfo()->hasPropertyByName("ShowChanges")) {
      props->setPropertyValue("ShowChanges", Any(on));
    }
  });
}

void LibreOfficeDocument::setRemovePersonalInformation(bool on) {
  removePersonalInfo_ = on;
}

const std::vector<SectionRun>& LibreOfficeDocument::sections() {
  if (sections_ && std::any_of(sections_->begin(), sections_->end(),
                               [](const SectionRun& run) { return run.changed; })) {
    sections_.reset();
  }
  if (!sections_) {
    sections_ = guarded("reading the sections", [&] { return readSections(model_); });
  }
  return *sections_;
}

const SectionRun& LibreOfficeDocument::section(int32_t number) {
  if (!sections_) {
    sections();
  }
  if (number < 1 || number > static_cast<int32_t>(sections_->size())) {
    throw EngineError(EngineError::Kind::Failed,
                      "The document has no section " + std::to_string(number));
  }
  // A section whose paragraphs changed is read again with all others, which is rare; reading
  // every section anew for each section's clean-up would make long documents slow.
  if ((*sections_)[static_cast<size_t>(number - 1)].changed) {
    sections_.reset();
    sections();
  }
  return (*sections_)[static_cast<size_t>(number - 1)];
}

int32_t LibreOfficeDocument::sectionCount() {
  return static_cast<int32_t>(sections().size());
}

int32_t LibreOfficeDocument::sectionOrientation(int32_t number) {
  const SectionRun& run = section(number);
  return guarded("reading the page orientation",
                 [&] { return pageStyleOrientation(model_, run.pageStyle); });
}

void LibreOfficeDocument::applyPageSetup(int32_t number, const PageSetupValues& values) {
  const std::vector<SectionRun> targets =
      number == 0 ? sections() : std::vector<SectionRun>{section(number)};
  const bool restyled = guarded("setting up the pages", [&] {
    return lo::applyPageSetup(model_, targets, values, pendingLayouts_);
  });
  edited(restyled);
}

void LibreOfficeDocument::applyParagraphFormat(const ParagraphFormatValues& values) {
  std::vector<int32_t> sectionStarts;
  if (values.pageBreakBefore && *values.pageBreakBefore) {
    for (const SectionRun& run : sections()) {
      sectionStarts.push_back(run.firstElement);
    }
  }
  guarded("setting the paragraph format",
          [&] { lo::applyParagraphFormat(model_, values, sectionStarts); });
  edited();
}

int32_t LibreOfficeDocument::lineSpacingRule() {
  return guarded("reading the line spacing", [&] { return bodyLineSpacingRule(model_); });
}

int32_t LibreOfficeDocument::sectionPaperSize(int32_t number) {
  const SectionRun& run = section(number);
  return guarded("reading the paper size",
                 [&] { return pageStylePaperSize(model_, run.pageStyle); });
}

void LibreOfficeDocument::applyFont(const FontFormatValues& values) {
  guarded("setting the font", [&] { lo::applyFont(model_, values); });
  edited();
}

void LibreOfficeDocument::addCentredPageNumbers(int32_t number, bool firstPage) {
  const SectionRun run = section(number);
  guarded("adding page numbers",
          [&] { lo::addCentredPageNumbers(model_, run.pageStyle, firstPage, pendingLayouts_); });
  edited();
}

std::u32string LibreOfficeDocument::sectionText(int32_t number, SectionEdge from,
                                                int32_t characters) {
  const SectionRun& run = section(number);
  return guarded("reading the section text", [&] {
    return lo::sectionText(model_, run, from, static_cast<size_t>(std::max(characters, 0)));
  });
}

void LibreOfficeDocument::deleteSectionCharacters(int32_t number, int32_t count) {
  const SectionRun& run = section(number);
  guarded("deleting characters", [&] { lo::deleteSectionCharacters(model_, run, count); });
  edited();
  // Only this section's paragraphs changed; the others keep theirs.
  (*sections_)[static_cast<size_t>(number - 1)].changed = true;
}

void LibreOfficeDocument::saveAs(const SaveRequest& request) {
  guarded("saving", [] {});  // a closed document, or one of an ended office, goes no further
  bool plainText = false;
  const std::string filter = host_->saveFilterName(request.format, &plainText);
  const fs::path target = fs::absolute(fs::path(request.fileName)).lexically_normal();
  const fs::path folder = target.parent_path();
  std::error_code ec;
  // The office would create missing folders on its own; the run must have made them.
  if (!fs::is_directory(folder, ec)) {
    throw EngineError(EngineError::Kind::Failed,
                      "The output folder does not exist: " + folder.string());
  }
  if (target.filename().empty()) {
    throw EngineError(EngineError::Kind::Failed, "No output file name in " + request.fileName);
  }
  const fs::path staging = makeStagingFolder(folder);
  const fs::path staged = staging / target.filename();
  // Whatever goes wrong, nothing of this save stays behind: the staging folder goes, and with
  // it any part of the output the office wrote.
  try {
    std::optional<uint32_t> officeCode;
    try {
      guarded("saving", [&] {
        host_->setRemovePersonalInfoOnSaving(removePersonalInfo_);
        Reference<css::document::XDocumentPropertiesSupplier> supplier(model_, UNO_QUERY_THROW);
        auto props = supplier->getDocumentProperties();
        if (removePersonalInfo_) {
          props->setAuthor(OUString());
          props->setModifiedBy(OUString());
          props->setPrintedBy(OUString());
        } else if (const auto user = host_->userName()) {
          // A saved document names who saved it last, as the word processor's own save does.
          props->setModifiedBy(toOU(*user));
        }
        std::vector<css::beans::PropertyValue> args{property("FilterName", Any(toOU(filter))),
                                                    property("Overwrite", Any(true))};
        if (plainText) {
          args.push_back(
              property("FilterOptions",
                       Any(toOU(textExportOptions(request.text.value_or(TextSaveOptions{}))))));
        }
        try {
          Reference<css::frame::XStorable>(model_, UNO_QUERY_THROW)
              ->storeToURL(toOU(fileUrlFromPath(staged.string())), toSequence(args));
        } catch (const css::task::ErrorCodeIOException& e) {
          officeCode = static_cast<uint32_t>(e.ErrCode);
          throw;
        } catch (const css::io::IOException& e) {
          // storeToURL passes the error on as a plain IOException with the code in its text.
          officeCode = officeErrorCodeInText(toUtf8(e.Message));
          throw;
        }
      });
    } catch (const EngineError& e) {
      // A lost or ended office keeps its own message; a refused save gets words.
      if (e.kind() != EngineError::Kind::Failed || !officeCode) {
        throw;
      }
      throw saveFailure(*officeCode, folder, target);
    }
    requireComplete(staged, filter, folder);
    publishStaged(staging, folder, target.filename());
  } catch (...) {
    fs::remove_all(staging, ec);
    throw;
  }
}

void LibreOfficeDocument::close() {
  if (closed_) {
    return;
  }
  closed_ = true;
  if (!host_->sameSession(generation_) || !model_.is()) {
    model_.clear();
    return;  // the office that held it is gone, and the document with it
  }
  try {
    Reference<css::util::XCloseable> closeable(model_, UNO_QUERY);
    if (closeable.is()) {
      closeable->close(true);
    } else {
      Reference<css::lang::XComponent>(model_, UNO_QUERY_THROW)->dispose();
    }
  } catch (const css::util::CloseVetoException&) {
    try {
      Reference<css::lang::XComponent>(model_, UNO_QUERY_THROW)->dispose();
    } catch (const css::uno::Exception&) {
    }
  } catch (const css::uno::Exception&) {
    // A document that cannot be closed went down with its office; the next document will
    // find the office gone and start a new one.
  }
  model_.clear();
}

}  // namespace kelvara::word::lo
