#include "metadata/MetadataStep.h"

namespace kelvara::metadata {

MetadataStep::MetadataStep(const config::Settings& settings, platform::MetadataPlatform& platform,
                           platform::Locale locale, MetadataReport report)
    : settings_(settings),
      platform_(platform),
      locale_(std::move(locale)),
      report_(std::move(report)) {}

void MetadataStep::log(std::string_view text) const {
  if (report_.logLine) {
    report_.logLine(text);
  }
}

void MetadataStep::dateLog(std::string_view text) const {
  if (report_.dateLine) {
    report_.dateLine(text);
  }
}

void MetadataStep::showMessage(const std::string& text) const {
  if (report_.message) {
    report_.message(text);
  }
}

void MetadataStep::indicate(Indicator which, LedColor color, bool off) const {
  if (report_.indicator) {
    report_.indicator(which, color, off);
  }
}

void MetadataStep::error(std::string_view text) const {
  if (report_.errorLine) {
    report_.errorLine(text);
  }
}

void MetadataStep::runStages(const std::string& source, const std::string& target, bool folder) {
  const std::optional<bool> readOnly = ApplyAttributes(source, target);
  privilegeGateThenDates(source, target, folder);
  securityGateThenCopy(source, target, folder);
  finishReadOnly(target, readOnly, folder);
}

std::optional<std::string> MetadataStep::CopyFileMetadata(const std::string& source,
                                                          const std::string& target) {
  try {
    runStages(source, target, false);
  } catch (const SourceUnreadable& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

std::optional<std::string> MetadataStep::CopyFolderMetadata(const std::string& source,
                                                            const std::string& target) {
  try {
    runStages(source, target, true);
  } catch (const SourceUnreadable& e) {
    return std::string(e.what());
  }
  return std::nullopt;
}

}  // namespace kelvara::metadata
