#include "app/StartUp.h"

#include <charconv>
#include <filesystem>

namespace kelvara::app {
namespace {

bool parsePosition(const std::string& text, int32_t& position) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, position);
  return ec == std::errc() && ptr == end && !text.empty();
}

std::string positionError(const char* which, const std::string& given, size_t count) {
  return "The " + std::string(which) + " format position " + given + " is not in the list (0 to " +
         std::to_string(count - 1) + "); kelvara-batch --list-formats shows the list";
}

}  // namespace

std::string AbsoluteFolder(const std::string& folder) {
  if (folder.empty()) {
    return folder;
  }
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(folder, ec);
  if (ec) {
    p = folder;
  }
  std::string text = p.lexically_normal().string();
  if (text.empty() || text.back() != '/') {
    text += '/';
  }
  return text;
}

bool ParseEngineCount(const std::string& text, int32_t& count) {
  int32_t value = 0;
  if (!parsePosition(text, value) || value < 1 || value > config::kMaxEngines) {
    return false;
  }
  count = value;
  return true;
}

void PresetFromCommandLine(const CommandLine& commandLine, config::Settings& settings) {
  settings.InpPath = commandLine.InpPath;
  settings.OutPath = commandLine.OutPath;
  settings.InpFileName = commandLine.InpFileName;
  settings.InpFormatIndex = config::kFormatNotGiven;
  settings.OutFormatIndex = config::kFormatNotGiven;
}

void CompleteSettings(const CommandLine& commandLine, config::Settings& settings) {
  // The command line's form of "i:" decides the kind of run; SingleFile from Kelva.ini applies
  // only when the command line names no input.
  if (commandLine.singleFileForm && !commandLine.InpFileName.empty()) {
    settings.SingleFile = true;
  } else if (!commandLine.InpPath.empty()) {
    settings.SingleFile = false;
  }
  settings.InpPath = AbsoluteFolder(settings.InpPath);
  settings.OutPath = AbsoluteFolder(settings.OutPath);
  if (!settings.InpFileName.empty() && settings.InpFileName.find('/') != std::string::npos) {
    std::error_code ec;
    const auto abs = std::filesystem::absolute(settings.InpFileName, ec);
    if (!ec) {
      settings.InpFileName = abs.lexically_normal().string();
    }
  }
}

std::string ChooseFormats(const word::FormatLists& lists, const CommandLine& commandLine,
                          config::Settings& settings, word::FormatSelection& selection) {
  int32_t input = settings.InpFormatIndex;
  int32_t output = settings.OutFormatIndex;
  // A position of 99 on the command line means "not given": the stored one applies.
  int32_t given = 0;
  if (commandLine.inputFormat) {
    if (!parsePosition(*commandLine.inputFormat, given)) {
      return positionError("input", *commandLine.inputFormat, lists.input.size());
    }
    if (given != config::kFormatNotGiven) {
      input = given;
    }
  }
  if (commandLine.outputFormat) {
    if (!parsePosition(*commandLine.outputFormat, given)) {
      return positionError("output", *commandLine.outputFormat, lists.output.size());
    }
    if (given != config::kFormatNotGiven) {
      output = given;
    }
  }
  if (input == config::kFormatNotGiven) {
    input = 0;
  }
  if (output == config::kFormatNotGiven) {
    output = 0;
  }
  if (input < 0 || static_cast<size_t>(input) >= lists.input.size()) {
    return positionError("input", std::to_string(input), lists.input.size());
  }
  if (output < 0 || static_cast<size_t>(output) >= lists.output.size()) {
    return positionError("output", std::to_string(output), lists.output.size());
  }
  word::SelectFormats(lists, input, output, selection);
  settings.InpFormatIndex = input;
  settings.OutFormatIndex = output;
  if (settings.StandardInpMask && !settings.SingleFile) {
    settings.InpMask = word::StandardMask(selection.inputExtensions);
  }
  return std::string();
}

}  // namespace kelvara::app
