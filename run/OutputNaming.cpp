#include "run/OutputNaming.h"

#include "platform/FileSystem.h"
#include "run/CaseFold.h"

namespace kelvara::run {
namespace {

std::string namePart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FileExtension(const std::string& name) {
  const size_t start = name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1;
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot < start) {
    return {};
  }
  return name.substr(dot);
}

OutputName FormOutputName(const std::string& inpFileName, const std::string& curOutputDir,
                          const std::string& outExt, const config::Settings& settings,
                          const std::function<void(const std::string&)>& writeLogLn) {
  const auto log = [&](const std::string& line) {
    if (writeLogLn) {
      writeLogLn(line);
    }
  };
  const std::string docName = namePart(inpFileName);
  const std::string ext = FileExtension(docName);
  const std::string extNoDot = ext.empty() ? std::string() : ext.substr(1);

  std::string baseName = docName;
  if (!ext.empty()) {
    baseName = docName.substr(0, docName.find(ext));
  }

  OutputName result;
  if (settings.AddOrigExtToFilNam && !ext.empty() && !sameTextIgnoreCase(extNoDot, outExt)) {
    baseName += extNoDot;
    result.NameChanged = true;
  }

  std::string e = ext;
  if (!outExt.empty() && outExt != "*") {
    // Exactly one dot before the extension.
    e = outExt.front() == '.' ? outExt : "." + outExt;
  }
  const std::string plain = curOutputDir + baseName + e;

  if (settings.AddVersNum) {
    result.NameChanged = false;
    result.OutputFileName = plain;
    if (platform::exists(plain)) {
      result.NameChanged = true;
      for (unsigned long long n = 1;; ++n) {
        std::string candidate = curOutputDir + baseName + "(" + std::to_string(n) + ")" + e;
        if (!platform::exists(candidate)) {
          result.OutputFileName = std::move(candidate);
          break;
        }
      }
    }
  } else if (settings.RenBeforeOverWr) {
    result.NameChanged = false;
    result.OutputFileName = plain;
    if (platform::exists(plain)) {
      std::string renamed =
          curOutputDir + settings.FileNamePrefix + baseName + settings.FileNameSuffix + e;
      // Without prefix and suffix the plain file is overwritten: that is no new name.
      result.NameChanged = renamed != plain;
      if (settings.LogDeletions && platform::exists(renamed)) {
        log("Output file " + renamed + " exists. Overwritten");
      }
      result.OutputFileName = std::move(renamed);
    }
  } else {
    result.OutputFileName = plain;
    if (settings.LogDeletions && platform::exists(plain)) {
      log("Output file " + plain + " exists. Overwritten");
    }
  }

  result.OutName = namePart(result.OutputFileName);
  if (settings.LogFileRenames && result.NameChanged) {
    log("Output file renamed. New name: " + result.OutName);
  }
  return result;
}

}  // namespace kelvara::run
