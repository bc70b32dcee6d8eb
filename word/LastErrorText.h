#pragma once

#include <string>

namespace kelvara::word {

// "[Error:" + the errno + "] " + its short text ("File Not Found", "Access Denied", "Disk Full",
// ...), for the messages of a failed file operation inside a conversion.
std::string LastErrorText(int code);

}  // namespace kelvara::word
