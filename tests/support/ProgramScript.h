#pragma once

#include <sys/stat.h>

#include <string>

#include "support/ScratchDir.h"

namespace kelvara::testing {

// An executable shell script in the folder, standing in for an outside program.
inline std::string programScript(const ScratchDir& dir, const std::string& name,
                                 const std::string& body) {
  const std::string path = dir.file(name, "#!/bin/sh\n" + body + "\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

}  // namespace kelvara::testing
