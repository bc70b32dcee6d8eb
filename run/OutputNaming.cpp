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

namespace {

struct NameParts {
  std::string baseName;  // without extension, with the original extension when asked for
  std::string ext;       // with its dot
  bool extAdded = false;
};

NameParts nameParts(const std::string& inpFileName, const std::string& outExt,
                    const config::Settings& settings) {
  const std::string docName = namePart(inpFileName);
  const std::string ext = FileExtension(docName);
  const std::string extNoDot = ext.empty() ? std::string() : ext.substr(1);

  NameParts parts;
  parts.baseName = docName;
  if (!ext.empty()) {
    parts.baseName = docName.substr(0, docName.find(ext));
  }
  if (settings.AddOrigExtToFilNam && !ext.empty() && !sameTextIgnoreCase(extNoDot, outExt)) {
    parts.baseName += extNoDot;
    parts.extAdded = true;
  }
  parts.ext = ext;
  if (!outExt.empty() && outExt != "*") {
    // Exactly one dot before the extension.
    parts.ext = outExt.front() == '.' ? outExt : "." + outExt;
  }
  return parts;
}

}  // namespace

std::string PlainOutputName(const std::string& inpFileName, const std::string& curOutputDir,
                            const std::string& outExt, const config::Settings& settings) {
  const NameParts parts = nameParts(inpFileName, outExt, settings);
  return curOutputDir + parts.baseName + parts.ext;
}

OutputName FormOutputName(const std::string& inpFileName, const std::string& curOutputDir,
                          const std::string& outExt, const config::Settings& settings,
                          const std::function<void(const std::string&)>& writeLogLn,
                          const NameTaken& taken) {
  const auto log = [&](const std::string& line) {
    if (writeLogLn) {
      writeLogLn(line);
    }
  };
  const auto exists = [&](const std::string& name) {
    return taken ? taken(name) : platform::exists(name);
  };
  const NameParts parts = nameParts(inpFileName, outExt, settings);
  const std::string& baseName = parts.baseName;
  const std::string& e = parts.ext;

  OutputName result;
  result.NameChanged = parts.extAdded;
  const std::string plain = curOutputDir + baseName + e;

  if (settings.AddVersNum) {
    result.NameChanged = false;
    result.OutputFileName = plain;
    if (exists(plain)) {
      result.NameChanged = true;
      for (unsigned long long n = 1;; ++n) {
        std::string candidate = curOutputDir + baseName + "(" + std::to_string(n) + ")" + e;
        if (!exists(candidate)) {
          result.OutputFileName = std::move(candidate);
          break;
        }
      }
    }
  } else if (settings.RenBeforeOverWr) {
    result.NameChanged = false;
    result.OutputFileName = plain;
    if (exists(plain)) {
      std::string renamed =
          curOutputDir + settings.FileNamePrefix + baseName + settings.FileNameSuffix + e;
      // Without prefix and suffix the plain file is overwritten: that is no new name.
      result.NameChanged = renamed != plain;
      if (settings.LogDeletions && exists(renamed)) {
        log("Output file " + renamed + " exists. Overwritten");
      }
      result.OutputFileName = std::move(renamed);
    }
  } else {
    result.OutputFileName = plain;
    if (settings.LogDeletions && exists(plain)) {
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
