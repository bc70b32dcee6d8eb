#include "word/lo/DocumentLoader.h"

#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <rtl/ref.hxx>

#include <filesystem>
#include <set>

#include "word/lo/ContentCheck.h"
#include "word/lo/ConverterCatalog.h"
#include "word/lo/FileUrl.h"
#include "word/lo/FilterMap.h"
#include "word/lo/InteractionHandler.h"
#include "word/lo/OfficeErrors.h"
#include "word/lo/OfficeSupervisor.h"
#include "word/lo/OfficeZipPackage.h"
#include "word/lo/OpenDocuments.h"
#include "word/lo/PackageRules.h"
#include "word/lo/StatisticsReader.h"
#include "word/lo/StreamSource.h"
#include "wordstar/Detection.h"
#include "wordstar/WordStarReader.h"

namespace kelvara::word::lo {
namespace {

namespace fs = std::filesystem;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

constexpr const char* kHtmlFilter = "HTML (StarWriter)";
constexpr const char* kEncodedTextFilter = "Text (encoded)";
// A password no document has, so that an encrypted file fails at once instead of asking.
constexpr char kDummyPassword[] = "kelvara-no-password";
constexpr size_t kHeadBytes = 64 * 1024;
// Text of a package's main part is looked for this far (only when the office read none).
constexpr size_t kMainPartLimit = 64 * 1024 * 1024;
constexpr const char* kIgnoredPackageFault =
    "Warning - the file breaks a packaging rule that was passed over: ";

// The OpenDocument and OpenOffice 1.0 readers take the statistics stored in the file as they
// are; the other readers leave the counting to the office.
bool takesStoredStatistics(const std::string& filter) {
  return filter.rfind("writer8", 0) == 0 || filter.rfind("writerglobal8", 0) == 0 ||
         filter.find("StarOffice_XML") != std::string::npos ||
         filter == "StarOffice XML (Writer)" || filter == "OpenDocument Text Flat XML";
}

// Readers that type detection chooses without a signature in the file: text takes any bytes,
// and WordPerfect 4 files have no header, so that reader is chosen by a guess.
bool detectionGuessed(const std::string& filter, const std::string& head) {
  return filter == "Text" || filter == "Text (encoded)" ||
         (filter == "WordPerfect" && head.compare(0, 4, "\xffWPC") != 0);
}

// Hidden, read-only, no macros, no link updates, a password no file has, every question
// answered No by the handler.
std::vector<css::beans::PropertyValue> cautiousLoadArguments(
    const rtl::Reference<InteractionHandler>& handler) {
  return {property("Hidden", Any(true)),
          property("ReadOnly", Any(true)),
          property("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
          property("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)),
          property("Password", Any(OUString(kDummyPassword))),
          property("RepairPackage", Any(false)),
          property("InteractionHandler",
                   Any(Reference<css::task::XInteractionHandler>(handler.get())))};
}

}  // namespace

std::optional<LoadedDocument> DocumentLoader::open(const OpenRequest& request) {
  lastError_.clear();
  office_.requireConnection("opening a document");
  const fs::path path = fs::absolute(fs::path(request.fileName)).lexically_normal();
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status)) {
    lastError_ = officeErrorText(officeerror::kNotExists);
    return std::nullopt;
  }
  if (!fs::is_regular_file(status)) {
    lastError_ = officeErrorText(officeerror::kNotExists, "Not a file");
    return std::nullopt;
  }
  const auto head = readFileHead(path.string(), kHeadBytes);
  if (!head) {
    lastError_ = officeErrorText(officeerror::kAccessDenied);
    return std::nullopt;
  }

  std::string filter;
  std::string filterOptions;
  bool textRequested = false;
  if (request.format == kWordStarCode) {
    return loadWordStar(path.string());
  }
  if (request.format >= kFirstConverterCode) {
    filter = catalog_.converterImportFilter(request.format);
    if (filter.empty()) {
      lastError_ = officeErrorText(officeerror::kWrongFormat, "No input converter with code " +
                                                                  std::to_string(request.format));
      return std::nullopt;
    }
  } else {
    const OpenFilter chosen = openFilterFor(request.format);
    filter = chosen.filterName;
    textRequested = chosen.textRequested;
    if (chosen.sniffEncoding) {
      filterOptions = textImportOptions(*head);
    }
  }
  return load(path.string(), filter, filterOptions, textRequested, *head, 0);
}

std::optional<LoadedDocument> DocumentLoader::load(const std::string& path,
                                                   const std::string& filter,
                                                   const std::string& filterOptions,
                                                   bool textRequested, const std::string& head,
                                                   int depth) {
  rtl::Reference<InteractionHandler> handler(new InteractionHandler);
  std::vector<css::beans::PropertyValue> args = cautiousLoadArguments(handler);
  if (!filter.empty()) {
    args.push_back(property("FilterName", Any(toOU(filter))));
  }
  if (!filterOptions.empty()) {
    args.push_back(property("FilterOptions", Any(toOU(filterOptions))));
  }

  Reference<css::lang::XComponent> component;
  std::string thrown;
  try {
    component = office_.connection().desktop()->loadComponentFromURL(toOU(fileUrlFromPath(path)),
                                                                     "_blank", 0, toSequence(args));
  } catch (const css::lang::DisposedException&) {
    office_.fail("opening the document");
  } catch (const css::uno::Exception& e) {
    // Import filters report some broken files by throwing; only a dead office is an engine
    // failure.
    if (!office_.answers() || office_.timedOut()) {
      office_.fail("opening the document");
    }
    thrown = toUtf8(e.Message);
  }

  const InteractionRecord asked = handler->take();
  if (!component.is()) {
    if (filter.empty() && depth == 0 && wordstar::detectWordStar(head).wordStar) {
      // A WordStar file the office could not read at all.
      return loadWordStar(path);
    }
    if (asked.any) {
      lastError_ = officeErrorText(asked.errorCode, asked.words);
    } else if (!thrown.empty()) {
      lastError_ = officeErrorText(officeerror::kWrongFormat, "File format error: " + thrown);
    } else {
      lastError_ =
          officeErrorText(officeerror::kWrongFormat,
                          filter.empty() ? "File format error"
                                         : "File format error (not readable as " + filter + ")");
    }
    return std::nullopt;
  }

  try {
    Reference<css::lang::XServiceInfo> info(component, UNO_QUERY_THROW);
    if (info->supportsService("com.sun.star.text.WebDocument") && depth == 0) {
      // Detection gives web pages to the web view, which has no pages to count or print.
      closeQuietly(component);
      return load(path, kHtmlFilter, "", textRequested, head, depth + 1);
    }
    if (!info->supportsService("com.sun.star.text.TextDocument")) {
      closeQuietly(component);
      lastError_ =
          officeErrorText(officeerror::kWrongFormat, "File format error (not a text document)");
      return std::nullopt;
    }
    Reference<css::frame::XModel> model(component, UNO_QUERY_THROW);
    OUString used;
    findProperty(model->getArgs(), "FilterName") >>= used;
    if (filter.empty() && depth == 0 && detectionGuessed(toUtf8(used), head) &&
        wordstar::detectWordStar(head).wordStar) {
      // Detection takes a WordStar file for text with a stray high bit on every word's end, or
      // for WordPerfect 4: our reader knows it for what it is.
      closeQuietly(component);
      return loadWordStar(path);
    }
    if (!textRequested && (used == "Text" || used == "Text (encoded)")) {
      // Detection takes any bytes for text; refuse what is not really a text file.
      if (auto reason = refusePlainTextLoad(head)) {
        closeQuietly(component);
        lastError_ = officeErrorText(officeerror::kWrongFormat, *reason);
        return std::nullopt;
      }
      if (filter.empty() && depth == 0) {
        closeQuietly(component);
        if (head.rfind("{\\rtf", 0) == 0) {
          // RTF under a text file's name (an external converter's output takes the output's
          // name): detection goes by the name, the word processor by the content.
          return load(path, "Rich Text Format", "", false, head, depth + 1);
        }
        // Detected text was read in the system's encoding with line feeds for line ends; read
        // it again in its own encoding and line ends, as when text was asked for.
        return load(path, kEncodedTextFilter, textImportOptions(head), true, head, depth + 1);
      }
    }
    LoadVerdict verdict = checkLoadedContent(path, toUtf8(used), head, model);
    if (verdict.refusal) {
      closeQuietly(component);
      lastError_ = *verdict.refusal;
      return std::nullopt;
    }
    return LoadedDocument{model, path, office_.generation(), takesStoredStatistics(toUtf8(used)),
                          std::move(verdict.warnings)};
  } catch (...) {
    office_.fail("opening the document");
  }
}

DocumentLoader::LoadVerdict DocumentLoader::checkLoadedContent(
    const std::string& path, const std::string& filter, const std::string& head,
    const Reference<css::frame::XModel>& model) {
  auto refuse = [](uint32_t code, const std::string& words) {
    return LoadVerdict{officeErrorText(code, words), {}};
  };
  static const std::set<std::string> kPackageFilters = {
      "MS Word 2007 XML", "MS Word 2007 XML Template", "MS Word 2007 XML VBA",
      "Office Open XML Text", "Office Open XML Text Template"};
  if (kPackageFilters.count(filter)) {
    LoadVerdict verdict;
    try {
      const OfficeZipPackage package(office_.connection(), path);
      PackageFindings findings = checkWordPackage(package);
      if (findings.unreadable) {
        return refuse(officeerror::kBrokenPackage,
                      "File is corrupt (" + *findings.unreadable + ")");
      }
      // The office reads what the packaging rules would have it refuse; the document is
      // converted, and the user learns what was passed over.
      for (const auto& fault : findings.ignoredFaults) {
        verdict.warnings.push_back(kIgnoredPackageFault + fault);
      }
      if (loadedCharacterCount(model) == 0) {
        const auto main = mainPartName(package);
        const auto xml = main ? package.read(*main, kMainPartLimit) : std::nullopt;
        if (xml && wordprocessingHasBodyText(*xml)) {
          return refuse(officeerror::kWrongFormat,
                        "File format error (the text could not be read)");
        }
      }
    } catch (const css::lang::DisposedException&) {
      throw;
    } catch (const css::uno::Exception&) {
      // The office loaded it; a package its own reader cannot list is not ours to judge.
    }
    return verdict;
  }
  if (filter == "Rich Text Format" || filter == "AbiWord") {
    // Both readers skip what they do not understand; a file whose whole text was skipped
    // would otherwise pass as an empty document.
    if (loadedCharacterCount(model) > 0) {
      return {};
    }
    if (filter == "Rich Text Format" && rtfHasBodyText(head)) {
      return refuse(officeerror::kWrongFormat, "File format error (the text could not be read)");
    }
    if (filter == "AbiWord" && head.compare(0, 2, "\x1f\x8b") != 0 && !abiwordHasBody(head)) {
      return refuse(officeerror::kWrongFormat, "File format error (no document body)");
    }
    return {};
  }
  // The binary word-processor formats start with a header of 128 bytes or more (Write, Word,
  // Works) or at least hold codes around the text (WordPerfect); readers that guess the format
  // take a few stray bytes for a document.
  static const std::set<std::string> kBinaryFilters = {
      "WordPerfect",  "DosWord",        "MS_Write",   "MS_Works",
      "MS WinWord 5", "MS WinWord 6.0", "MS Word 95", "MS Word 97"};
  std::error_code ec;
  if (kBinaryFilters.count(filter) && fs::file_size(path, ec) < 128 && !ec) {
    return refuse(officeerror::kWrongFormat, "File format error (the file is truncated)");
  }
  return {};
}

std::optional<LoadedDocument> DocumentLoader::loadWordStar(const std::string& path) {
  const wordstar::RtfConversion converted = wordstar::wordStarFileToRtf(path);
  if (!converted.rtf) {
    lastError_ = officeErrorText(officeerror::kWrongFormat, converted.error);
    return std::nullopt;
  }
  // The RTF goes to the office as a stream: no temporary file to leave behind.
  rtl::Reference<InteractionHandler> handler(new InteractionHandler);
  std::vector<css::beans::PropertyValue> args = cautiousLoadArguments(handler);
  Reference<css::lang::XComponent> component;
  try {
    args.push_back(property("FilterName", Any(OUString("Rich Text Format"))));
    args.push_back(
        property("InputStream", Any(byteInputStream(office_.connection(), *converted.rtf))));
    component = office_.connection().desktop()->loadComponentFromURL("private:stream", "_blank", 0,
                                                                     toSequence(args));
  } catch (const css::lang::DisposedException&) {
    office_.fail("opening the document");
  } catch (const css::uno::Exception& e) {
    if (!office_.answers() || office_.timedOut()) {
      office_.fail("opening the document");
    }
    lastError_ =
        officeErrorText(officeerror::kWrongFormat, "File format error: " + toUtf8(e.Message));
    return std::nullopt;
  }
  handler->take();
  if (!component.is()) {
    lastError_ = officeErrorText(officeerror::kWrongFormat,
                                 "File format error (the WordStar text could not be loaded)");
    return std::nullopt;
  }
  try {
    Reference<css::frame::XModel> model(component, UNO_QUERY_THROW);
    return LoadedDocument{model, path, office_.generation(), false, {}};
  } catch (...) {
    closeQuietly(component);
    office_.fail("opening the document");
  }
}

}  // namespace kelvara::word::lo
