#include "word/lo/OfficeScripts.h"

#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace kelvara::word::lo {
namespace {

// Keep in step with walkDown and countLines in StatisticsReader.cpp: both walks must count
// alike, the tests compare them.
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


g_exportedScripts = (count_lines,)
)";

}  // namespace

const char* const kLineWalkScriptName = "kelvara_lines.py";

std::string lineWalkScriptUri() {
  return std::string("vnd.sun.star.script:") + kLineWalkScriptName +
         "$count_lines?language=Python&location=user";
}

bool installOfficeScripts(const std::string& profileDir) {
  const std::string folder = profileDir + "/user/Scripts/python";
  if (!platform::ensureDir(folder)) {
    return false;
  }
  std::error_code ec;
  const std::string path = folder + "/" + kLineWalkScriptName;
  if (const auto current = platform::readWholeFile(path, ec);
      current && *current == kLineWalkScript) {
    return true;
  }
  return !platform::replaceFileAtomically(path, kLineWalkScript);
}

}  // namespace kelvara::word::lo
