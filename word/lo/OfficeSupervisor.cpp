#include "word/lo/OfficeSupervisor.h"

#include <com/sun/star/lang/DisposedException.hpp>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "platform/Paths.h"
#include "platform/Process.h"
#include "word/lo/OfficeConfig.h"
#include "word/lo/OfficeNames.h"
#include "word/lo/OfficeScripts.h"
#include "word/lo/ProfileSeed.h"
#include "word/lo/StaleOffices.h"

namespace kelvara::word::lo {

// How long an office may take to end when asked to.
constexpr int kTerminateSeconds = 10;
namespace {

namespace fs = std::filesystem;
using Kind = EngineError::Kind;

constexpr const char* kDefaultProgram = "/usr/lib/libreoffice/program/soffice.bin";

EngineError unavailable(const std::string& reason) {
  return EngineError(Kind::Unavailable, "Connection to LibreOffice failed: " + reason);
}

EngineError timedOutAfter(int seconds) {
  return EngineError(Kind::TimedOut,
                     "Conversion timed out after " + std::to_string(seconds) + " s");
}

}  // namespace

OfficeSupervisor::OfficeSupervisor(const LibreOfficeOptions& options) : options_(options) {
  // The bridge writes to the office's pipe; an office that dies or quits mid-write must give
  // this process an error to handle, not a SIGPIPE that ends it.
  platform::ignoreBrokenPipes();
  if (options_.stateDir.empty()) {
    options_.stateDir = platform::stateDir();
  }
  names_ = officeNames(options_.stateDir, options_.instanceName);
  if (options_.sofficePath.empty()) {
    options_.sofficePath = kDefaultProgram;
  }
  std::error_code ec;
  fs::path program = fs::canonical(options_.sofficePath, ec);
  programDir_ = (ec ? fs::path(options_.sofficePath) : program).parent_path().string();
  productVersion_ = officeProductVersion(programDir_);
  productName_ = productVersion_.empty() ? "LibreOffice" : "LibreOffice " + productVersion_;
  watchdog_ = std::make_unique<Watchdog>([this] {
    const int pid = officePid_.load();
    if (pid > 0) {
      platform::killProcessTree(pid);
    }
  });
}

OfficeSupervisor::~OfficeSupervisor() {
  watchdog_.reset();  // no expiry may fire into a half-destroyed supervisor
  quit();
}

void OfficeSupervisor::progress(const std::string& text) const {
  if (options_.progress) {
    options_.progress(text);
  }
}

bool OfficeSupervisor::answers() {
  return connection_ && !connection_->disposed() && process_ && process_->running();
}

bool OfficeSupervisor::connected() {
  return !detached_ && answers();
}

void OfficeSupervisor::connect() {
  if (answers()) {
    detached_ = false;
    return;
  }
  if (process_ && process_->running() && !connection_) {
    connectToRunningOffice();
  }
  if (!answers()) {
    dropOffice(false);
    launchAndConnect();
  }
  detached_ = false;
}

void OfficeSupervisor::disconnect() {
  if (watchdog_) {
    watchdog_->disarm();
  }
  // Like an automation client letting go of the application object: the office and the
  // documents it holds stay as they are, and the next connect() takes them up again.
  detached_ = true;
}

void OfficeSupervisor::quit() {
  if (watchdog_) {
    watchdog_->disarm();
  }
  dropOffice(true);
  ++generation_;
  if (names_.ownsProfile) {
    // A profile named after this process serves no later run.
    std::error_code ec;
    fs::remove_all(names_.profileDir, ec);
  }
}

void OfficeSupervisor::dropOffice(bool terminate) {
  if (connection_ && terminate && !connection_->disposed()) {
    // A hung office would never answer: the watchdog ends it after a few seconds.
    if (watchdog_) {
      watchdog_->arm(std::chrono::seconds(kTerminateSeconds));
    }
    try {
      connection_->desktop()->terminate();
    } catch (const css::uno::Exception&) {
    }
    if (watchdog_) {
      watchdog_->disarm();
    }
  }
  const int pid = officePid_.exchange(0);  // the watchdog must not aim at a reaped pid
  connection_.reset();
  if (process_) {
    if (!terminate) {
      process_->kill();
    }
    process_->awaitExit(std::chrono::milliseconds(3000));
    process_.reset();
    // A killed office leaves its pipe's socket file behind in the temporary folder.
    std::error_code ec;
    fs::remove(pipeSocketPath(names_.pipe), ec);
  }
  if (pid > 0) {
    unregisterLiveOffice(pid);
  }
}

void OfficeSupervisor::connectToRunningOffice() {
  auto local = localContext(programDir_);
  for (int attempt = 0; attempt < 20 && process_->running(); ++attempt) {
    try {
      connection_ = std::make_unique<OfficeConnection>(local, names_.pipe);
      ++generation_;
      return;
    } catch (const css::uno::Exception&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
}

void OfficeSupervisor::startOffice() {
  process_ = std::make_unique<OfficeProcess>(
      OfficeLaunch{options_.sofficePath, names_.profileDir, names_.pipe, ""});
  std::string error;
  if (!process_->start(&error)) {
    process_.reset();
    throw unavailable(error);
  }
  officePid_ = process_->pid();
  registerLiveOffice(process_->pid());
}

void OfficeSupervisor::launchAndConnect() {
  progress("Opening LibreOffice...");
  std::error_code ec;
  if (!fs::is_regular_file(options_.sofficePath, ec)) {
    throw unavailable("no office program at " + options_.sofficePath);
  }
  if (!platform::ensureDir(options_.stateDir)) {
    throw unavailable("cannot create the folder " + options_.stateDir);
  }
  if (!seedProfile(names_.profileDir, productVersion_)) {
    throw unavailable("cannot write the office profile in " + names_.profileDir);
  }
  // Without its scripts the office still converts; the client then walks step by step.
  installOfficeScripts(names_.profileDir);
  css::uno::Reference<css::uno::XComponentContext> local;
  try {
    local = localContext(programDir_);
  } catch (const css::uno::Exception& e) {
    throw unavailable("cannot load the office's type libraries: " + toUtf8(e.Message));
  }

  const auto limit = std::chrono::seconds(std::max(1, options_.connectTimeoutSeconds));
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int restarts = 0;
  std::string lastReason = "no answer";
  startOffice();
  for (;;) {
    try {
      connection_ = std::make_unique<OfficeConnection>(local, names_.pipe);
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
  ++launches_;
  documentsSinceLaunch_ = 0;
  readOfficeFacts();
}

void OfficeSupervisor::readOfficeFacts() {
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

void OfficeSupervisor::requireConnection(const char* operation) {
  if (answers()) {
    detached_ = false;  // using the engine takes it up again
    return;
  }
  if (watchdog_->expired()) {
    throw timedOutAfter(options_.docTimeoutSeconds);
  }
  throw EngineError(Kind::Lost, std::string("LibreOffice is not running (") + operation + ")");
}

EngineError OfficeSupervisor::failure(const std::string& operation) {
  std::string detail;
  bool lost = false;
  try {
    throw;
  } catch (const EngineError& e) {
    return e;
  } catch (const css::lang::DisposedException& e) {
    lost = true;
    detail = toUtf8(e.Message);
  } catch (const css::uno::Exception& e) {
    detail = toUtf8(e.Message);
    lost = !answers();
  } catch (const std::exception& e) {
    detail = e.what();
  } catch (...) {
    detail = "unknown error";
  }
  if (watchdog_->expired()) {
    // The watchdog has ended the office: the next document starts another even if the bridge
    // has not announced its end yet.
    if (connection_) {
      connection_->markDisposed();
    }
    return timedOutAfter(options_.docTimeoutSeconds);
  }
  if (lost) {
    // The next document must find the office gone and start another, whether or not the
    // bridge has announced its end by then.
    if (connection_) {
      connection_->markDisposed();
    }
    return EngineError(Kind::Lost, "LibreOffice stopped while " + operation +
                                       (detail.empty() ? std::string() : " (" + detail + ")"));
  }
  return EngineError(Kind::Failed, "LibreOffice error while " + operation +
                                       (detail.empty() ? std::string() : ": " + detail));
}

void OfficeSupervisor::failStaleSession() const {
  throw EngineError(
      Kind::Lost,
      "The LibreOffice that held the document has ended; the document is no longer open");
}

void OfficeSupervisor::beginDocument(const std::function<void()>& prepare) {
  if (answers() && (wornByCount() || wornByMemory())) {
    // A long-running office keeps growing; a fresh one costs a fraction of a second.
    dropOffice(true);
  }
  // Starting an office has its own time limit; the document's limit is for the document, and
  // a start slower than it on a busy machine must not be cut short.
  connect();
  watchdog_->arm(std::chrono::seconds(std::max(0, options_.docTimeoutSeconds)));
  try {
    if (prepare) {
      prepare();
    }
  } catch (...) {
    watchdog_->disarm();
    throw;
  }
  ++documentsSinceLaunch_;
}

void OfficeSupervisor::endDocument() {
  watchdog_->disarm();
}

bool OfficeSupervisor::wornByCount() const {
  return options_.recycleAfterDocuments > 0 &&
         documentsSinceLaunch_ >= options_.recycleAfterDocuments;
}

bool OfficeSupervisor::wornByMemory() const {
  if (options_.recycleAboveMegabytes <= 0 || !process_) {
    return false;
  }
  const auto kilobytes = platform::residentKilobytes(process_->pid());
  return kilobytes && *kilobytes > static_cast<int64_t>(options_.recycleAboveMegabytes) * 1024;
}

}  // namespace kelvara::word::lo
