#include "word/lo/LibreOfficeEngine.h"

#include "word/lo/ConverterCatalog.h"
#include "word/lo/DocumentHost.h"
#include "word/lo/DocumentLoader.h"
#include "word/lo/FilterMap.h"
#include "word/lo/LibreOfficeDocument.h"
#include "word/lo/OfficeSettings.h"
#include "word/lo/OfficeSupervisor.h"
#include "word/lo/OpenDocuments.h"
#include "word/lo/StageTimer.h"

namespace kelvara::word {
namespace {

// The parts of one engine, tied together because documents need three of them (the office's
// session and failure judgement, the save filters, the personal-data switch) and may outlive
// the engine: they keep the parts alive and so stay answerable, with a clean error.
struct EngineParts : lo::DocumentHost {
  explicit EngineParts(const LibreOfficeOptions& options) : office(options) {}

  bool sameSession(uint64_t generation) const override { return office.sameSession(generation); }
  [[noreturn]] void failStaleSession() const override { office.failStaleSession(); }
  EngineError failure(const std::string& operation) override { return office.failure(operation); }
  std::string saveFilterName(int32_t saveFormat, bool* plainText) override {
    return catalog.saveFilterName(saveFormat, plainText);
  }
  void setRemovePersonalInfoOnSaving(bool on) override {
    settings.setRemovePersonalInfoOnSaving(on);
  }
  std::optional<std::string> userName() const override { return settings.userName(); }

  lo::OfficeSupervisor office;
  lo::ConverterCatalog catalog{office};
  lo::OfficeSettings settings{office};
  lo::DocumentLoader loader{office, catalog};
};

// The engine as the pipeline sees it: each call goes to the part that does the work.
class LibreOfficeEngine : public DocumentEngine {
 public:
  explicit LibreOfficeEngine(const LibreOfficeOptions& options)
      : parts_(std::make_shared<EngineParts>(options)),
        timer_(lo::StageTimer::fromEnvironment(parts_->office.instanceName())) {}
  ~LibreOfficeEngine() override { parts_->office.quit(); }

  void connect() override { parts_->office.connect(); }
  void disconnect() override { parts_->office.disconnect(); }
  bool connected() const override { return parts_->office.connected(); }
  void quit() override { parts_->office.quit(); }

  std::string version() const override { return "12.0"; }
  std::string productName() const override { return parts_->office.productName(); }

  std::vector<FileConverter> fileConverters() override { return parts_->catalog.fileConverters(); }
  std::string cannotSaveReason(int32_t saveFormat) override {
    return parts_->catalog.cannotSaveReason(saveFormat);
  }
  std::vector<std::string> ignoredTextOptions(const TextSaveOptions& options) const override {
    return lo::ignoredTextOptions(options);
  }

  // Headless, the office has no window to show, so the debug switch changes nothing here.
  void beginDocument(bool) override {
    parts_->loader.clearLastError();
    lo::OfficeSettings& settings = parts_->settings;
    const auto prepare = [&settings] { settings.applyUserData(); };
    if (!timer_) {
      parts_->office.beginDocument(prepare);
      return;
    }
    const uint64_t launches = parts_->office.launchCount();
    double spent = 0;
    {
      const lo::StageClock clock(spent);
      parts_->office.beginDocument(prepare);
    }
    timer_->beginDocument(parts_->office.launchCount() != launches ? spent : 0);
  }
  void endDocument() override {
    parts_->office.endDocument();
    if (timer_) {
      timer_->endDocument();
    }
  }

  std::unique_ptr<Document> open(const OpenRequest& request) override {
    if (!timer_) {
      return load(request);
    }
    std::unique_ptr<Document> document;
    {
      const lo::StageClock clock = timer_->openClock(request.fileName);
      document = load(request);
    }
    return timer_->timed(std::move(document));
  }
  std::string lastErrorText() const override { return parts_->loader.lastError(); }
  int32_t openDocumentCount() override { return lo::countOpenDocuments(parts_->office); }
  void closeAllDocuments() override { lo::closeOpenDocuments(parts_->office); }
  void setUserData(const UserData& data) override { parts_->settings.setUserData(data); }

 private:
  std::unique_ptr<Document> load(const OpenRequest& request) {
    std::optional<lo::LoadedDocument> loaded = parts_->loader.open(request);
    if (!loaded) {
      return nullptr;
    }
    return std::make_unique<lo::LibreOfficeDocument>(
        parts_, loaded->generation, std::move(loaded->model), std::move(loaded->path),
        loaded->storedStatistics, std::move(loaded->warnings));
  }

  std::shared_ptr<EngineParts> parts_;
  std::unique_ptr<lo::StageTimer> timer_;  // null unless stage times were asked for
};

}  // namespace

std::unique_ptr<DocumentEngine> makeLibreOfficeEngine(const LibreOfficeOptions& options) {
  return std::make_unique<LibreOfficeEngine>(options);
}

}  // namespace kelvara::word
