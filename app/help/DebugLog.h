#pragma once

#include <functional>
#include <string>

#include "app/help/DiagnosticFacts.h"
#include "platform/Locale.h"

namespace kelvara::app {

// A diagnostic log that is silent unless debug mode is on. Each line is appended, flushed and
// closed at once, so it survives a crash; write failures are ignored.
class DebugLog {
 public:
  using MessageBox = std::function<void(const std::string& text)>;

  // Creates the log as fileName, or under the same name in tempDir when fileName's folder does
  // not accept a new file. An existing file is made writable and, without append, deleted; with
  // debug mode and header on, the header is written from facts.
  DebugLog(const std::string& fileName, bool append, bool header, bool timeStamp, bool debugMode,
           const DiagnosticFacts& facts, const std::string& tempDir,
           platform::Locale locale = platform::Locale::fromEnvironment(),
           MessageBox messageBox = nullptr);

  // With debug mode on, writes one line: "-" and "=" become rules of 79 characters; a text
  // starting with "!", "-" or "=" loses that character and gets no time stamp; any other gets
  // the long time and three blanks in front.
  void WriteDebugLine(const std::string& text) const;
  // The same with a printf-style format.
  void WriteDebugLineF(const char* format, ...) const __attribute__((format(printf, 2, 3)));
  // Shows the text in a message box, then logs it when debug mode is on.
  void ShowDebugMessage(const std::string& text) const;

  const std::string& fileName() const { return fileName_; }
  bool debugMode() const { return debugMode_; }

 private:
  void writeHeader(const DiagnosticFacts& facts) const;

  std::string fileName_;
  bool debugMode_;
  bool timeStamp_;
  platform::Locale locale_;
  MessageBox messageBox_;
};

// printf into a std::string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when a file "$_Temp_$.$$$" can be created in folder (and it is deleted again).
bool FolderAcceptsNewFile(const std::string& folder);

// $TMPDIR when it is an existing folder, else "/tmp"; without a final "/".
std::string TempFolder();

}  // namespace kelvara::app
