#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <com/sun/star/frame/XModel.hpp>

#include "word/DocumentEngine.h"
#include "word/lo/FilterCatalog.h"
#include "word/lo/LibreOfficeEngine.h"
#include "word/lo/OfficeConnection.h"
#include "word/lo/OfficeProcess.h"
#include "word/lo/Watchdog.h"

namespace kelvara::word::lo {

// An installed filter offered as a converter, with its stable code.
struct ConverterEntry {
  FilterInfo filter;
  int32_t code = 0;
};

// The state of one engine: its office process, the connection, the watchdog and what was read
// from the office. Documents share it so that a failure inside them is judged the same way.
class EngineCore : public std::enable_shared_from_this<EngineCore> {
 public:
  explicit EngineCore(const LibreOfficeOptions& options);
  ~EngineCore();
  EngineCore(const EngineCore&) = delete;
  EngineCore& operator=(const EngineCore&) = delete;

  void connect();
  void disconnect();
  bool connected();
  void quit();

  std::string productName() const { return productName_; }
  std::vector<FileConverter> fileConverters();
  std::string cannotSaveReason(int32_t saveFormat);

  void beginDocument();
  void endDocument();

  std::unique_ptr<Document> open(const OpenRequest& request);
  std::string lastErrorText() const { return lastError_; }
  int32_t openDocumentCount();
  void closeAllDocuments();
  void setUserData(const std::string& name, const std::string& initials,
                   const std::string& address);

  // The filter a save format code writes with; throws EngineError(Failed) when there is none.
  std::string saveFilterName(int32_t saveFormat, bool* plainText);
  // Applies the office-wide switch for removing personal data when saving.
  void setRemovePersonalInfoOnSaving(bool on);

  // Turns the exception being handled into the EngineError to throw: TimedOut when the
  // watchdog ended the office, Lost when the office or its connection is gone, else Failed.
  [[noreturn]] void fail(const std::string& operation);
  // True while the office the given generation was loaded in still serves us.
  bool sameSession(uint64_t generation) const { return generation == generation_; }
  [[noreturn]] void failStaleSession();

  const OfficeConnection& connection() const;
  int officePid() const { return officePid_.load(); }
  const std::string& profileDir() const { return profileDir_; }

 private:
  // The office runs and the bridge to it stands (whether or not the caller let go of it).
  bool officeAnswers();
  // The office has served long enough, or grown too large, and is restarted.
  bool wornByCount() const;
  bool wornByMemory() const;
  void launchAndConnect();
  void connectToRunningOffice();
  void dropOffice(bool terminate);
  void readOfficeFacts();
  const std::vector<ConverterEntry>& converters();
  void loadFilters();
  void applyUserData();
  void requireConnection(const char* operation);
  std::unique_ptr<Document> load(const std::string& path, const std::string& filterName,
                                 const std::string& filterOptions, bool textRequested,
                                 const std::string& head, int depth);
  // What the engine makes of a document the office did load (it reads broken files
  // leniently): the last-error text when it must still be refused, else the faults it passed
  // over, as warning lines of the document.
  struct LoadVerdict {
    std::optional<std::string> refusal;
    std::vector<std::string> warnings;
  };
  LoadVerdict checkLoadedContent(const std::string& path, const std::string& filter,
                                 const std::string& head,
                                 const css::uno::Reference<css::frame::XModel>& model);
  void progress(const std::string& text) const;

  LibreOfficeOptions options_;
  std::string programDir_;
  std::string pipeName_;
  std::string profileDir_;
  std::string productVersion_;
  bool ownsProfile_ = false;  // the profile is this process's alone and goes at quit

  std::unique_ptr<OfficeProcess> process_;
  std::unique_ptr<OfficeConnection> connection_;
  std::atomic<int> officePid_{0};
  uint64_t generation_ = 0;
  bool detached_ = false;  // disconnect() was called
  int documentsSinceLaunch_ = 0;
  std::unique_ptr<Watchdog> watchdog_;

  std::string lastError_;
  std::string productName_ = "LibreOffice";
  std::optional<std::vector<ConverterEntry>> converters_;
  std::optional<std::set<std::string>> filterNames_;
  std::optional<bool> removePersonalInfo_;
  std::optional<std::vector<std::string>> userData_;  // name, initials, address
  bool userDataApplied_ = false;
};

}  // namespace kelvara::word::lo
