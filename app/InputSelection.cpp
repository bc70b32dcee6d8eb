#include "app/InputSelection.h"

#include "app/StartUp.h"

namespace kelvara::app {
namespace {

bool hasWildcards(const std::string& name) {
  return name.find_first_of("*?") != std::string::npos;
}

// "*.doc;*.dot" as the blank-separated patterns a Qt file dialog filter takes.
std::string patterns(const std::string& mask) {
  std::string out;
  for (char c : mask) {
    out.push_back(c == ';' ? ' ' : c);
  }
  return out;
}

std::string withSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') {
    folder.push_back('/');
  }
  return folder;
}

}  // namespace

bool RunAllowed(const config::Settings& settings, const PathProbe& probe) {
  if (settings.OutPath.empty()) {
    return false;
  }
  if (settings.SingleFile) {
    return !settings.InpFileName.empty() && !hasWildcards(settings.InpFileName) &&
           probe.fileExists(settings.InpFileName);
  }
  return !settings.InpPath.empty() && probe.folderExists(settings.InpPath);
}

std::string MaskFor(const config::Settings& settings, const word::FormatSelection& selection,
                    const std::string& storedMask) {
  if (settings.SingleFile) {
    return FileNamePart(settings.InpFileName);
  }
  if (settings.StandardInpMask) {
    return word::StandardMask(selection.inputExtensions);
  }
  return storedMask.empty() ? "*.*" : storedMask;
}

std::string WithExtension(const std::string& fileName, const std::string& ext) {
  const size_t dot = fileName.rfind('.');
  const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
  return stem + "." + ext;
}

InputDisplay UpdateInputDisplay(config::Settings& settings, const word::FormatSelection& selection,
                                const std::string& storedMask, const PathProbe& probe) {
  InputDisplay display;
  if (settings.SingleFile) {
    display.inputLabel = "Input File";
    display.outputLabel = "Output File";
    display.maskControlsEnabled = false;
    const std::string& name = settings.InpFileName;
    if (!name.empty() && !hasWildcards(name) && probe.fileExists(name)) {
      display.inputBox = name;
      display.outputBox = settings.OutPath + WithExtension(FileNamePart(name), selection.OutExt);
      settings.InpMask = FileNamePart(name);
      display.runAllowed = RunAllowed(settings, probe);
    } else {
      settings.InpMask.clear();
      display.runAllowed = false;
    }
    return display;
  }
  display.inputLabel = "Input Path";
  display.outputLabel = "Output Path";
  display.inputBox = settings.InpPath;
  display.outputBox = settings.OutPath;
  settings.InpMask = MaskFor(settings, selection, storedMask);
  display.maskControlsEnabled = true;
  display.runAllowed = RunAllowed(settings, probe);
  return display;
}

DialogFilter InputDialogFilter(const config::Settings& settings,
                               const word::FormatSelection& selection) {
  if (settings.StandardInpMask) {
    const std::string mask = word::StandardMask(selection.inputExtensions);
    std::string name = selection.inputFormatName;
    while (!name.empty() && name.back() == ' ') {
      name.pop_back();
    }
    return {name + " (" + patterns(mask) + ")", mask};
  }
  if (!settings.InpMask.empty()) {
    return {"User mask (" + patterns(settings.InpMask) + ")", settings.InpMask};
  }
  return {"All Files (*)", "*.*"};
}

DialogFilter OutputDialogFilter(const word::FormatSelection& selection) {
  const std::string mask = word::StandardMask(selection.OutExt);
  std::string name = selection.outputFormatName;
  while (!name.empty() && name.back() == ' ') {
    name.pop_back();
  }
  return {name + " (" + patterns(mask) + ")", mask};
}

bool TakeInputChoice(config::Settings& settings, const std::string& chosen) {
  settings.InpPath = FolderPart(chosen);
  settings.InpFileName = chosen;
  if (settings.SingleFile || !settings.StandardInpMask) {
    const std::string name = FileNamePart(chosen);
    settings.InpMask = hasWildcards(name) ? name : "*";
    return !settings.StandardInpMask;
  }
  return false;
}

std::string TakeTypedInput(config::Settings& settings, const std::string& typed,
                           const PathProbe& probe) {
  if (probe.folderExists(typed)) {
    settings.InpPath = withSlash(AbsoluteFolder(typed));
    return std::string();
  }
  if (probe.fileExists(typed)) {
    settings.InpFileName = typed;
    settings.InpPath = FolderPart(typed);
    return std::string();
  }
  return "File not found";
}

std::string TakeTypedOutput(config::Settings& settings, const std::string& typed) {
  if (typed.empty() || typed.front() != '/') {
    return "Drive not found";
  }
  settings.OutPath = withSlash(typed);
  return std::string();
}

}  // namespace kelvara::app
