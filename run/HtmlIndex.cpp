#include "run/HtmlIndex.h"

#include <cerrno>

#include "platform/AtomicFile.h"

namespace kelvara::run {
namespace {

constexpr const char* kHeader =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
    "<html>\r\n"
    "<head>\r\n"
    "<TITLE>Index</TITLE>\r\n"
    "</head>\r\n"
    "<body bgcolor=\"#cccccc\">\r\n";

// A link to a path. The target stays the plain path except for the three characters a browser
// would read as URL syntax ("#1" as a fragment, "?" as a query, "%41" as an escape).
std::string link(const std::string& path, const std::string& text) {
  std::string href;
  href.reserve(path.size());
  for (char c : path) {
    switch (c) {
      case '%':
        href += "%25";
        break;
      case '#':
        href += "%23";
        break;
      case '?':
        href += "%3F";
        break;
      default:
        href.push_back(c);
    }
  }
  return "<a href=\"" + EscapeHtml(href) + "\">" + EscapeHtml(text) + "</a>";
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

void HtmlIndex::append(std::string item) {
  try {
    items_.push_back(std::move(item));
  } catch (...) {
    // The index is a by-product of the run: a lost line must not stop it.
  }
}

void HtmlIndex::Start() {
  items_.clear();
  append(kHeader);
}

void HtmlIndex::record(IndexEvent::Kind kind, std::vector<std::string> args) {
  if (recorder_) {
    recorder_(IndexEvent{kind, std::move(args)});
  }
}

void HtmlIndex::Replay(const IndexEvent& event) {
  const std::vector<std::string>& a = event.args;
  switch (event.kind) {
    case IndexEvent::Kind::FolderEntered:
      if (a.size() >= 2) {
        FolderEntered(a[0], a[1] == "1");
      }
      break;
    case IndexEvent::Kind::FileBegins:
      FileBegins();
      break;
    case IndexEvent::Kind::FileConverted:
      if (a.size() >= 4) {
        FileConverted(a[0], a[1], a[2], a[3]);
      }
      break;
    case IndexEvent::Kind::FileFailed:
      if (a.size() >= 3) {
        FileFailed(a[0], a[1], a[2]);
      }
      break;
    case IndexEvent::Kind::FolderDone:
      FolderDone();
      break;
  }
}

void HtmlIndex::FolderEntered(const std::string& curOutputDir, bool outsideOutputTree) {
  record(IndexEvent::Kind::FolderEntered, {curOutputDir, outsideOutputTree ? "1" : "0"});
  if (level_ == 2) {
    append("</ul>");
  }
  level_ = 0;
  // Also when the folder lies inside the output tree or the output goes to the input folder:
  // the reader still sees which output folder the following lines belong to.
  append("<ul><li>" + link(curOutputDir, curOutputDir));
}

void HtmlIndex::FileBegins() {
  record(IndexEvent::Kind::FileBegins, {});
  if (level_ == 0) {
    append("<ul>");
  }
  level_ = 2;
}

void HtmlIndex::FileConverted(const std::string& inpFileName, const std::string& docName,
                              const std::string& outputFileName, const std::string& outName) {
  record(IndexEvent::Kind::FileConverted, {inpFileName, docName, outputFileName, outName});
  append("<li>" + link(inpFileName, docName) + " -> " + link(outputFileName, outName) + "</li>");
}

void HtmlIndex::FileFailed(const std::string& inpFileName, const std::string& docName,
                           const std::string& outName) {
  record(IndexEvent::Kind::FileFailed, {inpFileName, docName, outName});
  append("<li>" + link(inpFileName, docName) + " -> " + EscapeHtml(outName) + "</li>");
}

void HtmlIndex::FolderDone() {
  record(IndexEvent::Kind::FolderDone, {});
  append(level_ == 1 ? "</li></ul>" : "</ul></li></ul>");
  level_ = 1;
}

bool HtmlIndex::End(const std::string& indexPath) {
  append("</body></html>");
  std::string content;
  for (const std::string& item : items_) {
    content += item;
    content += "\r\n";
  }
  items_.clear();
  items_.shrink_to_fit();
  const std::error_code ec = platform::replaceFileAtomically(indexPath, content);
  if (ec) {
    errno = ec.value() != 0 ? ec.value() : EIO;
    return false;
  }
  return true;
}

}  // namespace kelvara::run
