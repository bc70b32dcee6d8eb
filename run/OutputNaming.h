#pragma once

#include <functional>
#include <string>

#include "config/Settings.h"

namespace kelvara::run {

struct OutputName {
  std::string OutputFileName;  // full path
  std::string OutName;         // its name without folder
  bool NameChanged = false;    // the output does not carry the plain name
};

// Whether a name is taken: by default, whether the file exists now.
using NameTaken = std::function<bool(const std::string&)>;

// Forms the output path of an input file in the output folder (ending with "/") for the output
// extension (without dot; empty or "*" keeps the input's extension), following the version-control
// mode of the settings: AddVersNum if set, else RenBeforeOverWr if set, else overwrite. Names are
// tested with taken (the file system as it is now when empty); its lines go to writeLogLn.
OutputName FormOutputName(const std::string& inpFileName, const std::string& curOutputDir,
                          const std::string& outExt, const config::Settings& settings,
                          const std::function<void(const std::string&)>& writeLogLn,
                          const NameTaken& taken = {});

// The output path before version control: the name every mode starts from.
std::string PlainOutputName(const std::string& inpFileName, const std::string& curOutputDir,
                            const std::string& outExt, const config::Settings& settings);

// The extension of a file name including its dot, or empty ("a.doc.v2.doc" gives ".doc").
std::string FileExtension(const std::string& name);

}  // namespace kelvara::run
