#include "word/LastErrorText.h"

#include <cerrno>

#include "platform/SystemError.h"

namespace kelvara::word {
namespace {

std::string shortText(int code) {
  switch (code) {
    case ENOENT:
      return "File Not Found";
    case ENOTDIR:
      return "Path Not Found";
    case EACCES:
    case EPERM:
      return "Access Denied";
    case ENOMEM:
      return "Insufficient Memory";
    case EROFS:
      return "Media Is Write Protected";
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return "Device Not Ready";
    case EBUSY:
    case ETXTBSY:
      return "File In Use";
    case ENOSPC:
    case EDQUOT:
      return "Disk Full";
    case EIO:
    case EUCLEAN:
      return "Corrupt File Or Disk";
    default:
      // Clearer than a general failure: the system says what went wrong.
      return platform::systemErrorText(code);
  }
}

}  // namespace

std::string LastErrorText(int code) {
  return "[Error:" + std::to_string(code) + "] " + shortText(code);
}

}  // namespace kelvara::word
