#include "word/ExternalConverter.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "platform/FileSystem.h"
#include "word/ConvError.h"
#include "word/LastErrorText.h"
#include "word/RunProgram.h"

namespace kelvara::word {
namespace {

std::string folderPart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNamePart(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string absolute(const std::string& path) {
  if (!path.empty() && path.front() == '/') {
    return path;
  }
  const std::string here = platform::currentDirectory();
  return here == "/" ? "/" + path : here + "/" + path;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::mutex& folderLock(const std::string& folder) {
  static std::mutex registryMutex;
  static std::map<std::string, std::unique_ptr<std::mutex>> locks;
  std::lock_guard<std::mutex> guard(registryMutex);
  auto& lock = locks[folder];
  if (!lock) {
    lock = std::make_unique<std::mutex>();
  }
  return *lock;
}

// The converter's files in the folder, in name order so that messages do not depend on the
// order the system lists them.
std::vector<std::string> converterFiles(const std::string& folder, int* error) {
  std::vector<std::string> found;
  for (const platform::DirEntry& entry :
       platform::listDirectory(folder.empty() ? "." : folder, error)) {
    if (entry.isFile && IsConverterOutput(entry.name)) {
      found.push_back(entry.name);
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// Clears what a failed converter left, so that the folder holds only what the user asked for.
void removeConverterFiles(const std::string& folder, PendingLog& log) {
  for (const std::string& name : converterFiles(folder, nullptr)) {
    RemoveConverterOutput(folder + name, log);
  }
}

}  // namespace

std::vector<std::string> ConverterArguments(const config::Settings& settings,
                                            const std::string& inputPath,
                                            const std::string& outputFolder) {
  struct Piece {
    std::string text;
    bool path;  // never split
  };
  const Piece pieces[] = {
      {settings.ProgCmdLine1, false}, {absolute(inputPath), true},    {" ", false},
      {settings.ProgCmdLine2, false}, {absolute(outputFolder), true}, {kConverterOutputName, false},
      {settings.ProgCmdLine3, false}};
  std::vector<std::string> arguments;
  std::string current;
  bool open = false;
  for (const Piece& piece : pieces) {
    if (piece.path) {
      current += piece.text;
      open = true;
      continue;
    }
    for (char c : piece.text) {
      if (c == ' ' || c == '\t') {
        if (open) {
          arguments.push_back(current);
          current.clear();
          open = false;
        }
      } else {
        current += c;
        open = true;
      }
    }
  }
  if (open) {
    arguments.push_back(current);
  }
  return arguments;
}

bool IsConverterOutput(const std::string& fileName) {
  const std::string base = kConverterOutputName;
  if (fileName.size() < base.size()) {
    return false;
  }
  for (size_t i = 0; i < base.size(); ++i) {
    if (upper(fileName[i]) != base[i]) {
      return false;
    }
  }
  return fileName.size() == base.size() || fileName[base.size()] == '.';
}

void RunExternalConverter(const config::Settings& settings, const std::string& inputPath,
                          const std::string& outputFileName, const std::string& scratchFolder,
                          const std::function<void()>& checkpoint, PendingLog& log) {
  const std::string folder = folderPart(outputFileName);
  std::lock_guard<std::mutex> turn(folderLock(absolute(folder.empty() ? "." : folder)));

  // A file an earlier converter left would pass for this document's conversion.
  for (const std::string& name : converterFiles(folder, nullptr)) {
    if (const int code = platform::removeFile(folder + name); code != 0) {
      throw EConvError("File delete error: " + LastErrorText(code));
    }
    log.deletion("File " + folder + name + " deleted");
  }

  ProgramCall call;
  call.program = settings.ExternalConverterProgram;
  call.arguments = ConverterArguments(settings, inputPath, folder.empty() ? "./" : folder);
  call.timeoutSeconds = settings.DocTimeout;
  call.scratchFolder = scratchFolder;
  if (RunProgram(call, checkpoint, log) != 0) {
    removeConverterFiles(folder, log);
    throw EConvError("External conversion error");
  }

  if (const int code = platform::removeFile(outputFileName); code != 0 && code != ENOENT) {
    removeConverterFiles(folder, log);
    throw EConvError("File delete error: " + LastErrorText(code));
  }
  log.deletion("File " + outputFileName + " deleted");

  int listError = 0;
  const std::vector<std::string> found = converterFiles(folder, &listError);
  if (found.empty()) {
    throw EConvError("Converted temp file not found: " +
                     LastErrorText(listError != 0 ? listError : ENOENT));
  }
  if (found.size() > 1) {
    std::string names;
    for (const std::string& name : found) {
      names += (names.empty() ? "" : ", ") + name;
    }
    removeConverterFiles(folder, log);
    throw EConvError("Converted temp file not unique: " + names);
  }
  if (const int code = platform::renameFile(folder + found.front(), outputFileName); code != 0) {
    removeConverterFiles(folder, log);
    throw EConvError("Converted file rename error: " + LastErrorText(code));
  }
  if (settings.LogFileRenames) {
    log.main("File " + folder + found.front() + " renamed " + outputFileName);
  }
}

std::string PrefixedName(const std::string& outputFileName, const std::string& prefix) {
  return folderPart(outputFileName) + prefix + fileNamePart(outputFileName);
}

std::string MoveAsidePrefixed(const config::Settings& settings, const std::string& outputFileName,
                              PendingLog& log) {
  const std::string prefixed = PrefixedName(outputFileName, settings.Prefix);
  if (platform::exists(prefixed)) {
    if (const int code = platform::removeFile(prefixed); code == 0) {
      log.deletion("File " + prefixed + " deleted");
    } else {
      log.error("File delete error: " + LastErrorText(code));
    }
  }
  if (const int code = platform::renameFile(outputFileName, prefixed); code != 0) {
    log.error("File rename error: " + LastErrorText(code));
    return outputFileName;
  }
  if (settings.LogFileRenames) {
    log.main("File " + outputFileName + " renamed " + prefixed);
  }
  return prefixed;
}

void RemoveConverterOutput(const std::string& path, PendingLog& log) {
  if (const int code = platform::removeFile(path); code == 0) {
    log.deletion("File " + path + " deleted");
  } else {
    log.error("File delete error: " + LastErrorText(code));
  }
}

}  // namespace kelvara::word
