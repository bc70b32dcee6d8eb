#include "app/help/HelpRouter.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "app/help/HelpFolder.h"

namespace kelvara::app {
namespace {

constexpr int kHostKind = 0;  // the pages open in the desktop's browser; no other viewer exists
const char* const kWindowDefinition = "";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string trimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return "";
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string cleaned(const std::string& text) {
  return trimBlanks(replaceAll(text, "%20", " "));
}

}  // namespace

std::string HelpTopicPath(const std::string& helpFolder, const std::string& topic) {
  std::string folder = cleaned(helpFolder);
  while (!folder.empty() && folder.back() == '/') {
    folder.pop_back();
  }
  std::string page = replaceAll(cleaned(topic), "\\", "/");
  if (page.empty()) {
    page = "index.html";
  }
  if (page.front() != '/') {
    page.insert(0, "/");
  }
  return folder + page;
}

std::string HelpErrorText(int result, const std::string& page) {
  switch (result) {
    case kHelpNotInstalled:
      return "The help pages of Kelvara are not installed.";
    case kHelpPageMissing:
      return "Help page not found: " + page;
    case kHelpNotOpened:
      return "No application could open the help page " + page +
             ".\rInstall a web browser or make one the default (xdg-settings).";
    default:
      return "Unknown error returned by HelpContext";
  }
}

HelpRouter::HelpRouter(std::string helpFolder, UrlOpener opener, MessageBox messageBox,
                       const DebugLog* log)
    : helpFolder_(std::move(helpFolder)),
      opener_(std::move(opener)),
      messageBox_(std::move(messageBox)),
      log_(log) {
  if (log_ != nullptr) {
    log_->WriteDebugLineF("THelpRouter.Create(\"%s\",\"%s\", %d)", helpFolder_.c_str(),
                          kWindowDefinition, kHostKind);
  }
}

HelpRouter::~HelpRouter() {
  log("THelpRouter.Destroy");
}

void HelpRouter::log(const std::string& text) const {
  if (log_ != nullptr) {
    log_->WriteDebugLine(text);
  }
}

int HelpRouter::ShowHelpTopic(const std::string& topic) {
  if (log_ != nullptr) {
    log_->WriteDebugLineF("HelpContext(\"%s\", %s, \"%s\", %d)", helpFolder_.c_str(), topic.c_str(),
                          kWindowDefinition, kHostKind);
  }
  int result = kHelpShown;
  if (cleaned(helpFolder_).empty()) {
    lastPage_ = topic;
    result = kHelpNotInstalled;
  } else {
    const std::string path = HelpTopicPath(helpFolder_, topic);
    lastPage_ = path.substr(0, path.find('#'));
    const std::string url = FileUrl(path);
    if (log_ != nullptr) {
      log_->WriteDebugLineF("ShowTopic(\"%s\", %d)", url.c_str(), kHostKind);
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(lastPage_, ec)) {
      result = kHelpPageMissing;
    } else if (!opener_ || !opener_(url)) {
      result = kHelpNotOpened;
    }
    if (log_ != nullptr) {
      log_->WriteDebugLineF("  returned - %d", result);
    }
  }
  ShowHelpError(result);
  return result;
}

void HelpRouter::ShowHelpError(int result) {
  if (result == kHelpShown) {
    return;
  }
  const std::string text = HelpErrorText(result, lastPage_);
  if (messageBox_) {
    messageBox_(text);
  }
  if (log_ != nullptr) {
    log_->WriteDebugLineF("ShowHelpError(%d), \"%s\"", result, text.c_str());
  }
}

}  // namespace kelvara::app
