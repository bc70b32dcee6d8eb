#pragma once

#include <functional>
#include <string>

#include "app/help/DebugLog.h"

namespace kelvara::app {

// The help pages each window opens.
inline constexpr const char* kTopicUserGuide = "UserGuide.html";
inline constexpr const char* kTopicParamSel = "ParamSel.html";
inline constexpr const char* kTopicFontSetup = "FontSetup.html";
inline constexpr const char* kTopicParagraphSetup = "ParagraphSetup.html";
inline constexpr const char* kTopicPageSetup = "PageSetup.html";
inline constexpr const char* kTopicConfiguration = "Configuration.html";

// Results of showing a page.
enum HelpResult : int {
  kHelpShown = 0,
  kHelpNotInstalled = 1,  // no help folder
  kHelpPageMissing = 2,   // the page is not in the help folder
  kHelpNotOpened = 3,     // no application opened the page
};

// Opens the help pages in the user's browser. The window passes QDesktopServices::openUrl as the
// opener and a message box as the message function; tests pass recorders.
class HelpRouter {
 public:
  using UrlOpener = std::function<bool(const std::string& url)>;
  using MessageBox = std::function<void(const std::string& text)>;

  // helpFolder as HelpFolder() finds it (empty when the pages are not installed).
  HelpRouter(std::string helpFolder, UrlOpener opener, MessageBox messageBox, const DebugLog* log);
  ~HelpRouter();
  HelpRouter(const HelpRouter&) = delete;
  HelpRouter& operator=(const HelpRouter&) = delete;

  // Opens the page (a name such as "UserGuide.html", optionally with "#anchor") and reports a
  // failure in a message box. Returns the HelpResult.
  int ShowHelpTopic(const std::string& topic);
  // The message for a result; 0 shows nothing.
  void ShowHelpError(int result);

  const std::string& helpFolder() const { return helpFolder_; }

 private:
  void log(const std::string& text) const;

  std::string helpFolder_;
  UrlOpener opener_;
  MessageBox messageBox_;
  const DebugLog* log_;
  std::string lastPage_;  // the page of the last request, for the error text
};

// The page's path: in both folder and topic "%20" becomes a blank and outer blanks go; in the
// topic "\" becomes "/"; the result is the folder (without final "/") + "/" + topic. An empty
// topic names the folder's "index.html".
std::string HelpTopicPath(const std::string& helpFolder, const std::string& topic);

// The text ShowHelpError shows for a result; page is the page asked for.
std::string HelpErrorText(int result, const std::string& page);

}  // namespace kelvara::app
