#include "word/lo/EngineCore.h"

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <rtl/ref.hxx>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "platform/Paths.h"
#include "platform/Process.h"
#include "word/lo/ContentCheck.h"
#include "word/lo/FileUrl.h"
#include "word/lo/FilterMap.h"
#include "word/lo/InteractionHandler.h"
#include "word/lo/LibreOfficeDocument.h"
#include "word/lo/OfficeConfig.h"
#include "word/lo/OfficeErrors.h"
#include "word/lo/OfficeZipPackage.h"
#include "word/lo/PackageRules.h"
#include "word/lo/ProfileSeed.h"
#include "word/lo/StaleOffices.h"
#include "word/lo/StatisticsReader.h"

namespace kelvara::word::lo {
namespace {

namespace fs = std::filesystem;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using Kind = EngineError::Kind;

constexpr const char* kDefaultProgram = "/usr/lib/libreoffice/program/soffice.bin";
constexpr const char* kHtmlFilter = "HTML (StarWriter)";
constexpr const char* kEncodedTextFilter = "Text (encoded)";
// A password no document has, so that an encrypted file fails at once instead of asking.
constexpr char kDummyPassword[] = "kelvara-no-password";
constexpr size_t kHeadBytes = 64 * 1024;
// Text of a package's main part is looked for this far (only when the office read none).
constexpr size_t kMainPartLimit = 64 * 1024 * 1024;
constexpr const char* kIgnoredPackageFault =
    "Warning - the file breaks a packaging rule that was passed over: ";

// Filters behind the fixed format codes, and their template variants: they are not offered
// again as converters.
const std::set<std::string>& fixedFilters() {
  static const std::set<std::string> names = {"MS Word 97",
                                              "MS Word 97 Vorlage",
                                              "MS Word 95",
                                              "MS Word 95 Vorlage",
                                              "MS WinWord 6.0",
                                              "MS WinWord 5",
                                              "MS Word 2007 XML",
                                              "MS Word 2007 XML Template",
                                              "MS Word 2007 XML VBA",
                                              "Office Open XML Text",
                                              "Office Open XML Text Template",
                                              "MS Word 2003 XML",
                                              "Rich Text Format",
                                              "Text",
                                              "Text (encoded)",
                                              "HTML (StarWriter)",
                                              "XHTML Writer File",
                                              "writer_pdf_Export"};
  return names;
}

// Exports that describe a document (its layout, words for a search index) rather than
// convert it.
bool isDiagnosticFilter(const std::string& name) {
  return name == "writer_layout_dump" || name == "writer_indexing_export";
}

// The OpenDocument and OpenOffice 1.0 readers take the statistics stored in the file as they
// are; the other readers leave the counting to the office.
bool takesStoredStatistics(const std::string& filter) {
  return filter.rfind("writer8", 0) == 0 || filter.rfind("writerglobal8", 0) == 0 ||
         filter.find("StarOffice_XML") != std::string::npos ||
         filter == "StarOffice XML (Writer)" || filter == "OpenDocument Text Flat XML";
}

std::string sanitizedName(const std::string& name) {
  std::string out;
  for (char c : name) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.';
    out += keep ? c : '_';
  }
  return out;
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) {
      out += separator;
    }
    out += p;
  }
  return out;
}

void closeQuietly(const Reference<css::lang::XComponent>& component) {
  try {
    Reference<css::util::XCloseable> closeable(component, UNO_QUERY);
    if (closeable.is()) {
      closeable->close(true);
    } else if (component.is()) {
      component->dispose();
    }
  } catch (const css::uno::Exception&) {
  }
}

}  // namespace

EngineCore::EngineCore(const LibreOfficeOptions& options) : options_(options) {
  // The bridge writes to the office's pipe; an office that dies or quits mid-write must give
  // this process an error to handle, not a SIGPIPE that ends it.
  platform::ignoreBrokenPipes();
  if (options_.stateDir.empty()) {
    options_.stateDir = platform::stateDir();
  }
  if (options_.instanceName.empty()) {
    options_.instanceName = "kelvara-" + std::to_string(platform::currentProcessId());
    ownsProfile_ = true;
  }
  options_.instanceName = sanitizedName(options_.instanceName);
  // Operators (and clearStaleOffices) tell our offices from theirs by this word.
  if (options_.instanceName.find("kelvara") == std::string::npos) {
    options_.instanceName = "kelvara-" + options_.instanceName;
  }
  if (options_.sofficePath.empty()) {
    options_.sofficePath = kDefaultProgram;
  }
  std::error_code ec;
  fs::path program = fs::canonical(options_.sofficePath, ec);
  programDir_ = (ec ? fs::path(options_.sofficePath) : program).parent_path().string();
  // Pipes are machine-wide: two runs with the same instance name must not meet on one.
  pipeName_ = ownsProfile_
                  ? options_.instanceName
                  : options_.instanceName + "-" + std::to_string(platform::currentProcessId());
  profileDir_ = profileRoot(options_.stateDir) + options_.instanceName;
  productVersion_ = officeProductVersion(programDir_);
  productName_ = productVersion_.empty() ? "LibreOffice" : "LibreOffice " + productVersion_;
  watchdog_ = std::make_unique<Watchdog>([this] {
    const int pid = officePid_.load();
    if (pid > 0) {
      platform::killProcessTree(pid);
    }
  });
}

EngineCore::~EngineCore() {
  watchdog_.reset();  // no expiry may fire into a half-destroyed engine
  quit();
}

void EngineCore::progress(const std::string& text) const {
  if (options_.progress) {
    options_.progress(text);
  }
}

const OfficeConnection& EngineCore::connection() const {
  return *connection_;
}

bool EngineCore::officeAnswers() {
  return connection_ && !connection_->disposed() && process_ && process_->running();
}

bool EngineCore::connected() {
  return !detached_ && officeAnswers();
}

void EngineCore::connect() {
  if (officeAnswers()) {
    detached_ = false;
    return;
  }
  if (process_ && process_->running() && !connection_) {
    connectToRunningOffice();
  }
  if (!officeAnswers()) {
    dropOffice(false);
    launchAndConnect();
  }
  detached_ = false;
}

void EngineCore::disconnect() {
  if (watchdog_) {
    watchdog_->disarm();
  }
  // Like an automation client letting go of the application object: the office and the
  // documents it holds stay as they are, and the next connect() takes them up again.
  detached_ = true;
}

void EngineCore::quit() {
  if (watchdog_) {
    watchdog_->disarm();
  }
  dropOffice(true);
  ++generation_;
  if (ownsProfile_) {
    // A profile named after this process serves no later run.
    std::error_code ec;
    fs::remove_all(profileDir_, ec);
  }
}

void EngineCore::dropOffice(bool terminate) {
  const int pid = officePid_.exchange(0);  // the watchdog must not aim at a reaped pid
  if (connection_ && terminate && !connection_->disposed()) {
    try {
      connection_->desktop()->terminate();
    } catch (const css::uno::Exception&) {
    }
  }
  connection_.reset();
  if (process_) {
    if (!terminate) {
      process_->kill();
    }
    process_->awaitExit(std::chrono::milliseconds(3000));
    process_.reset();
    // A killed office leaves its pipe's socket file behind in the temporary folder.
    std::error_code ec;
    fs::remove(pipeSocketPath(pipeName_), ec);
  }
  if (pid > 0) {
    unregisterLiveOffice(pid);
  }
}

void EngineCore::connectToRunningOffice() {
  auto local = localContext(programDir_);
  for (int attempt = 0; attempt < 20 && process_->running(); ++attempt) {
    try {
      connection_ = std::make_unique<OfficeConnection>(local, pipeName_);
      ++generation_;
      return;
    } catch (const css::uno::Exception&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
}

void EngineCore::launchAndConnect() {
  auto unavailable = [](const std::string& reason) {
    return EngineError(Kind::Unavailable, "Connection to LibreOffice failed: " + reason);
  };
  progress("Opening LibreOffice...");
  std::error_code ec;
  if (!fs::is_regular_file(options_.sofficePath, ec)) {
    throw unavailable("no office program at " + options_.sofficePath);
  }
  if (!platform::ensureDir(options_.stateDir)) {
    throw unavailable("cannot create the folder " + options_.stateDir);
  }
  if (!seedProfile(profileDir_, productVersion_)) {
    throw unavailable("cannot write the office profile in " + profileDir_);
  }
  Reference<css::uno::XComponentContext> local;
  try {
    local = localContext(programDir_);
  } catch (const css::uno::Exception& e) {
    throw unavailable("cannot load the office's type libraries: " + toUtf8(e.Message));
  }

  auto startOffice = [&] {
    process_ = std::make_unique<OfficeProcess>(
        OfficeLaunch{options_.sofficePath, profileDir_, pipeName_, ""});
    std::string error;
    if (!process_->start(&error)) {
      process_.reset();
      throw unavailable(error);
    }
    officePid_ = process_->pid();
    registerLiveOffice(process_->pid());
  };

  const auto limit = std::chrono::seconds(std::max(1, options_.connectTimeoutSeconds));
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int restarts = 0;
  std::string lastReason = "no answer";
  startOffice();
  for (;;) {
    try {
      connection_ = std::make_unique<OfficeConnection>(local, pipeName_);
      break;
    } catch (const css::uno::Exception& e) {
      lastReason = toUtf8(e.Message);
    }
    if (const auto status = process_->exitStatus()) {
      const int pid = officePid_.exchange(0);
      unregisterLiveOffice(pid);
      // A brand-new profile makes the office set itself up and ask to be started again.
      if (*status == kOfficeRestartExitCode && restarts++ < 3) {
        startOffice();
        continue;
      }
      process_.reset();
      throw unavailable("the office ended at start with exit code " + std::to_string(*status));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      dropOffice(false);
      throw unavailable("no answer within " + std::to_string(limit.count()) + " s (" + lastReason +
                        ")");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ++generation_;
  documentsSinceLaunch_ = 0;
  removePersonalInfo_.reset();
  userDataApplied_ = false;
  readOfficeFacts();
}

void EngineCore::readOfficeFacts() {
  try {
    OUString name;
    OUString version;
    readOfficeSetting(*connection_, "/org.openoffice.Setup/Product", "ooName") >>= name;
    readOfficeSetting(*connection_, "/org.openoffice.Setup/Product", "ooSetupVersionAboutBox") >>=
        version;
    if (!name.isEmpty()) {
      productName_ = toUtf8(name) + (version.isEmpty() ? "" : " " + toUtf8(version));
    }
  } catch (const css::uno::Exception&) {
    // Keep the name from the installation's bootstrap file.
  }
}

void EngineCore::requireConnection(const char* operation) {
  if (officeAnswers()) {
    detached_ = false;  // using the engine takes it up again
    return;
  }
  if (watchdog_->expired()) {
    throw EngineError(Kind::TimedOut, "Conversion timed out after " +
                                          std::to_string(options_.docTimeoutSeconds) + " s");
  }
  throw EngineError(Kind::Lost, std::string("LibreOffice is not running (") + operation + ")");
}

void EngineCore::fail(const std::string& operation) {
  std::string detail;
  bool lost = false;
  try {
    throw;
  } catch (const EngineError&) {
    throw;
  } catch (const css::lang::DisposedException& e) {
    lost = true;
    detail = toUtf8(e.Message);
  } catch (const css::uno::Exception& e) {
    detail = toUtf8(e.Message);
    lost = !officeAnswers();
  } catch (const std::exception& e) {
    detail = e.what();
  } catch (...) {
    detail = "unknown error";
  }
  if (watchdog_->expired()) {
    throw EngineError(Kind::TimedOut, "Conversion timed out after " +
                                          std::to_string(options_.docTimeoutSeconds) + " s");
  }
  if (lost) {
    throw EngineError(Kind::Lost, "LibreOffice stopped while " + operation +
                                      (detail.empty() ? std::string() : " (" + detail + ")"));
  }
  throw EngineError(Kind::Failed, "LibreOffice error while " + operation +
                                      (detail.empty() ? std::string() : ": " + detail));
}

void EngineCore::failStaleSession() {
  throw EngineError(
      Kind::Lost,
      "The LibreOffice that held the document has ended; the document is no longer open");
}

void EngineCore::beginDocument() {
  // The time limit covers a relaunch too: an office that hangs while starting is ended.
  watchdog_->arm(std::chrono::seconds(std::max(0, options_.docTimeoutSeconds)));
  lastError_.clear();
  if (officeAnswers() && (wornByCount() || wornByMemory())) {
    // A long-running office keeps growing; a fresh one costs a fraction of a second.
    dropOffice(true);
  }
  try {
    connect();
    applyUserData();
  } catch (...) {
    watchdog_->disarm();
    throw;
  }
  ++documentsSinceLaunch_;
}

bool EngineCore::wornByCount() const {
  return options_.recycleAfterDocuments > 0 &&
         documentsSinceLaunch_ >= options_.recycleAfterDocuments;
}

bool EngineCore::wornByMemory() const {
  if (options_.recycleAboveMegabytes <= 0 || !process_) {
    return false;
  }
  const auto kilobytes = platform::residentKilobytes(process_->pid());
  return kilobytes && *kilobytes > static_cast<int64_t>(options_.recycleAboveMegabytes) * 1024;
}

void EngineCore::endDocument() {
  watchdog_->disarm();
}

std::unique_ptr<Document> EngineCore::open(const OpenRequest& request) {
  lastError_.clear();
  requireConnection("opening a document");
  const fs::path path = fs::absolute(fs::path(request.fileName)).lexically_normal();
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status)) {
    lastError_ = officeErrorText(officeerror::kNotExists);
    return nullptr;
  }
  if (!fs::is_regular_file(status)) {
    lastError_ = officeErrorText(officeerror::kNotExists, "Not a file");
    return nullptr;
  }
  const auto head = readFileHead(path.string(), kHeadBytes);
  if (!head) {
    lastError_ = officeErrorText(officeerror::kAccessDenied);
    return nullptr;
  }

  std::string filter;
  std::string filterOptions;
  bool textRequested = false;
  if (request.format >= kFirstConverterCode) {
    for (const auto& c : converters()) {
      if (c.code == request.format && (c.filter.flags & filterflag::kImport)) {
        filter = c.filter.name;
      }
    }
    if (filter.empty()) {
      lastError_ = officeErrorText(officeerror::kWrongFormat, "No input converter with code " +
                                                                  std::to_string(request.format));
      return nullptr;
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

std::unique_ptr<Document> EngineCore::load(const std::string& path, const std::string& filter,
                                           const std::string& filterOptions, bool textRequested,
                                           const std::string& head, int depth) {
  rtl::Reference<InteractionHandler> handler(new InteractionHandler);
  std::vector<css::beans::PropertyValue> args{
      property("Hidden", Any(true)),
      property("ReadOnly", Any(true)),
      property("MacroExecutionMode", Any(css::document::MacroExecMode::NEVER_EXECUTE)),
      property("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)),
      property("Password", Any(OUString(kDummyPassword))),
      property("RepairPackage", Any(false)),
      property("InteractionHandler",
               Any(Reference<css::task::XInteractionHandler>(handler.get())))};
  if (!filter.empty()) {
    args.push_back(property("FilterName", Any(toOU(filter))));
  }
  if (!filterOptions.empty()) {
    args.push_back(property("FilterOptions", Any(toOU(filterOptions))));
  }

  Reference<css::lang::XComponent> component;
  std::string thrown;
  try {
    component = connection_->desktop()->loadComponentFromURL(toOU(fileUrlFromPath(path)), "_blank",
                                                             0, toSequence(args));
  } catch (const css::lang::DisposedException&) {
    fail("opening the document");
  } catch (const css::uno::Exception& e) {
    // Import filters report some broken files by throwing; only a dead office is an engine
    // failure.
    if (!officeAnswers() || watchdog_->expired()) {
      fail("opening the document");
    }
    thrown = toUtf8(e.Message);
  }

  const InteractionRecord asked = handler->take();
  if (!component.is()) {
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
    return nullptr;
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
      return nullptr;
    }
    Reference<css::frame::XModel> model(component, UNO_QUERY_THROW);
    OUString used;
    findProperty(model->getArgs(), "FilterName") >>= used;
    if (!textRequested && (used == "Text" || used == "Text (encoded)")) {
      // Detection takes any bytes for text; refuse what is not really a text file.
      if (auto reason = refusePlainTextLoad(head)) {
        closeQuietly(component);
        lastError_ = officeErrorText(officeerror::kWrongFormat, *reason);
        return nullptr;
      }
      if (filter.empty() && depth == 0) {
        // Detected text was read in the system's encoding with line feeds for line ends; read
        // it again in its own encoding and line ends, as when text was asked for.
        closeQuietly(component);
        return load(path, kEncodedTextFilter, textImportOptions(head), true, head, depth + 1);
      }
    }
    LoadVerdict verdict = checkLoadedContent(path, toUtf8(used), head, model);
    if (verdict.refusal) {
      closeQuietly(component);
      lastError_ = *verdict.refusal;
      return nullptr;
    }
    return std::make_unique<LibreOfficeDocument>(shared_from_this(), generation_, model, path,
                                                 takesStoredStatistics(toUtf8(used)),
                                                 std::move(verdict.warnings));
  } catch (...) {
    fail("opening the document");
  }
}

EngineCore::LoadVerdict EngineCore::checkLoadedContent(const std::string& path,
                                                       const std::string& filter,
                                                       const std::string& head,
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
      const OfficeZipPackage package(*connection_, path);
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

int32_t EngineCore::openDocumentCount() {
  requireConnection("counting documents");
  try {
    int32_t count = 0;
    auto it = connection_->desktop()->getComponents()->createEnumeration();
    while (it->hasMoreElements()) {
      Reference<css::frame::XModel> model(it->nextElement(), UNO_QUERY);
      if (model.is()) {
        ++count;
      }
    }
    return count;
  } catch (...) {
    fail("counting documents");
  }
}

void EngineCore::closeAllDocuments() {
  requireConnection("closing documents");
  try {
    std::vector<Reference<css::lang::XComponent>> open;
    auto it = connection_->desktop()->getComponents()->createEnumeration();
    while (it->hasMoreElements()) {
      Reference<css::lang::XComponent> component(it->nextElement(), UNO_QUERY);
      if (component.is()) {
        open.push_back(component);
      }
    }
    for (const auto& component : open) {
      closeQuietly(component);
    }
  } catch (...) {
    fail("closing documents");
  }
}

const std::vector<ConverterEntry>& EngineCore::converters() {
  if (!converters_) {
    loadFilters();
  }
  return *converters_;
}

void EngineCore::loadFilters() {
  connect();
  std::vector<FilterInfo> filters;
  try {
    filters = readWriterFilters(*connection_);
  } catch (...) {
    fail("reading the installed filters");
  }
  std::set<std::string> names;
  std::vector<FilterInfo> offered;
  const int32_t hidden =
      filterflag::kInternal | filterflag::kNotInFileDialog | filterflag::kNotInstalled;
  for (const auto& f : filters) {
    names.insert(f.name);
    if ((f.flags & (filterflag::kImport | filterflag::kExport)) == 0 || (f.flags & hidden) != 0 ||
        fixedFilters().count(f.name) || isDiagnosticFilter(f.name)) {
      continue;
    }
    offered.push_back(f);
  }
  // Codes are handed out in the order of the filters' own names, which no translation
  // changes, so a clash always resolves the same way.
  std::sort(offered.begin(), offered.end(),
            [](const FilterInfo& a, const FilterInfo& b) { return a.name < b.name; });
  std::vector<ConverterEntry> entries;
  std::set<int32_t> taken;
  for (const auto& f : offered) {
    const int32_t code = converterCode(f.name, taken);
    taken.insert(code);
    entries.push_back({f, code});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const ConverterEntry& a, const ConverterEntry& b) {
                     return a.filter.uiName < b.filter.uiName;
                   });
  filterNames_ = std::move(names);
  converters_ = std::move(entries);
}

std::vector<FileConverter> EngineCore::fileConverters() {
  std::vector<FileConverter> result;
  for (const auto& c : converters()) {
    FileConverter fc;
    fc.formatName = c.filter.uiName;
    fc.extensions = join(c.filter.extensions, " ");
    fc.canOpen = (c.filter.flags & filterflag::kImport) != 0;
    fc.openFormat = c.code;
    fc.canSave = (c.filter.flags & filterflag::kExport) != 0;
    fc.saveFormat = c.code;
    result.push_back(fc);
  }
  return result;
}

std::string EngineCore::cannotSaveReason(int32_t saveFormat) {
  if (saveFormat >= kFirstConverterCode) {
    for (const auto& c : converters()) {
      if (c.code == saveFormat && (c.filter.flags & filterflag::kExport)) {
        return {};
      }
    }
    return "LibreOffice cannot write the output format with code " + std::to_string(saveFormat);
  }
  const auto fixed = saveFilterFor(saveFormat);
  if (!fixed) {
    return "LibreOffice cannot write the output format with code " + std::to_string(saveFormat);
  }
  if (fixed->filterName.empty()) {
    return cannotWriteMessage(fixed->formatName);
  }
  if (!filterNames_) {
    loadFilters();
  }
  if (!filterNames_->count(fixed->filterName)) {
    return cannotWriteMessage(fixed->formatName);
  }
  return {};
}

std::string EngineCore::saveFilterName(int32_t saveFormat, bool* plainText) {
  const std::string reason = cannotSaveReason(saveFormat);
  if (!reason.empty()) {
    throw EngineError(Kind::Failed, reason);
  }
  *plainText = false;
  if (saveFormat >= kFirstConverterCode) {
    for (const auto& c : converters()) {
      if (c.code == saveFormat) {
        return c.filter.name;
      }
    }
  }
  const auto fixed = saveFilterFor(saveFormat);
  *plainText = fixed->plainText;
  return fixed->filterName;
}

void EngineCore::setRemovePersonalInfoOnSaving(bool on) {
  if (removePersonalInfo_ == on) {
    return;
  }
  writeOfficeSettings(*connection_, "/org.openoffice.Office.Common/Security/Scripting",
                      {{"RemovePersonalInfoOnSaving", Any(on)}});
  removePersonalInfo_ = on;
}

void EngineCore::setUserData(const std::string& name, const std::string& initials,
                             const std::string& address) {
  std::vector<std::string> wanted{name, initials, address};
  if (userData_ != wanted) {
    userData_ = std::move(wanted);
    userDataApplied_ = false;
  }
  if (officeAnswers()) {
    applyUserData();
  }
}

void EngineCore::applyUserData() {
  if (!userData_ || userDataApplied_) {
    return;
  }
  try {
    // The office keeps one name; the word processor's full user name goes into its first part.
    writeOfficeSettings(*connection_, "/org.openoffice.UserProfile/Data",
                        {{"givenname", Any(toOU((*userData_)[0]))},
                         {"sn", Any(OUString())},
                         {"initials", Any(toOU((*userData_)[1]))},
                         {"street", Any(toOU((*userData_)[2]))}});
    userDataApplied_ = true;
  } catch (...) {
    fail("setting the user data");
  }
}

}  // namespace kelvara::word::lo
