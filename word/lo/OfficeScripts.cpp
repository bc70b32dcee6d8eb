#include "word/lo/OfficeScripts.h"

#include <filesystem>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace kelvara::word::lo {
namespace {

// Keep in step with walkDown and countLines in StatisticsReader.cpp, and readSections in
// Sections.cpp: the walks of both sides must agree, the tests compare them.
constexpr const char* kLineWalkScript = R"(# Written by Kelvara at each start of its office.
_NEVER = 2 ** 31 - 1


def _place(cursor):
    point = cursor.getPosition()
    return (cursor.getPage(), point.X, point.Y)


def _walk(cursor, start, watch_from, most):
    cursor.gotoRange(start, False)
    moves = 0
    while moves < watch_from and moves < most and cursor.goDown(1, False):
        moves += 1
    if moves < watch_from:
        return moves
    last = _place(cursor)
    while moves < most and cursor.goDown(1, False):
        now = _place(cursor)
        if now == last:
            break
        last = now
        moves += 1
    return moves


def count_lines(model, plausible, most):
    controller = model.getCurrentController()
    if controller is None:
        return 0
    cursor = controller.getViewCursor()
    start = model.getText().getStart()
    moves = _walk(cursor, start, _NEVER, min(plausible, most))
    if moves >= plausible and plausible < most:
        moves = _walk(cursor, start, 0, most)
    return moves + 1 if cursor.isAtStartOfLine() else moves


def read_sections(model):
    """The start page style, every body element, and each element's page style name ("" when
    it sets none), for readSections."""
    start_style = "Standard"
    controller = model.getCurrentController()
    if controller is not None:
        cursor = controller.getViewCursor()
        cursor.gotoStart(False)
        start_style = cursor.PageStyleName or "Standard"
    elements = []
    styles = []
    enumeration = model.getText().createEnumeration()
    while enumeration.hasMoreElements():
        element = enumeration.nextElement()
        elements.append(element)
        styles.append(element.getPropertyValue("PageDescName") or "")
    return (start_style, tuple(elements), tuple(styles))


g_exportedScripts = (count_lines, read_sections)
)";

}  // namespace

const char* const kOfficeScriptName = "kelvara_walks.py";

std::string officeScriptUri(const std::string& function) {
  return std::string("vnd.sun.star.script:") + kOfficeScriptName + "$" + function +
         "?language=Python&location=user";
}

bool installOfficeScripts(const std::string& profileDir) {
  const std::string folder = profileDir + "/user/Scripts/python";
  if (!platform::ensureDir(folder)) {
    return false;
  }
  std::error_code ec;
  // The line walk's file of earlier versions.
  std::error_code removed;
  std::filesystem::remove(folder + "/kelvara_lines.py", removed);
  const std::string path = folder + "/" + kOfficeScriptName;
  if (const auto current = platform::readWholeFile(path, ec);
      current && *current == kLineWalkScript) {
    return true;
  }
  return !platform::replaceFileAtomically(path, kLineWalkScript);
}

}  // namespace kelvara::word::lo
