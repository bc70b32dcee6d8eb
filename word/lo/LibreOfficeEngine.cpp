#include "word/lo/LibreOfficeEngine.h"

#include "word/lo/EngineCore.h"
#include "word/lo/FilterMap.h"

namespace kelvara::word {
namespace {

// The engine as the pipeline sees it; documents share the core so that they stay answerable
// (with a clean error) even after the engine has ended.
class LibreOfficeEngine : public DocumentEngine {
 public:
  explicit LibreOfficeEngine(const LibreOfficeOptions& options)
      : core_(std::make_shared<lo::EngineCore>(options)) {}
  ~LibreOfficeEngine() override { core_->quit(); }

  void connect() override { core_->connect(); }
  void disconnect() override { core_->disconnect(); }
  bool connected() const override { return core_->connected(); }
  void quit() override { core_->quit(); }

  std::string version() const override { return "12.0"; }
  std::string productName() const override { return core_->productName(); }

  std::vector<FileConverter> fileConverters() override { return core_->fileConverters(); }
  std::string cannotSaveReason(int32_t saveFormat) override {
    return core_->cannotSaveReason(saveFormat);
  }
  std::vector<std::string> ignoredTextOptions(const TextSaveOptions& options) const override {
    return lo::ignoredTextOptions(options);
  }

  // Headless, the office has no window to show, so the debug switch changes nothing here.
  void beginDocument(bool) override { core_->beginDocument(); }
  void endDocument() override { core_->endDocument(); }

  std::unique_ptr<Document> open(const OpenRequest& request) override {
    return core_->open(request);
  }
  std::string lastErrorText() const override { return core_->lastErrorText(); }
  int32_t openDocumentCount() override { return core_->openDocumentCount(); }
  void closeAllDocuments() override { core_->closeAllDocuments(); }
  void setUserData(const std::string& name, const std::string& initials,
                   const std::string& address) override {
    core_->setUserData(name, initials, address);
  }

 private:
  std::shared_ptr<lo::EngineCore> core_;
};

}  // namespace

std::unique_ptr<DocumentEngine> makeLibreOfficeEngine(const LibreOfficeOptions& options) {
  return std::make_unique<LibreOfficeEngine>(options);
}

}  // namespace kelvara::word
