#pragma once

#include <string>

namespace kelvara::run {

// Tells the files this program wrote from the documents a walk must handle, so that a run never
// takes its own outputs for inputs and never passes over a real input. Folders end with "/".
struct FolderLayout {
  std::string inpPath;
  std::string outPath;
  std::string logDir;
};

// The output tree is a proper subfolder of the input tree: what it holds are earlier outputs.
bool OutputTreeInsideInput(const FolderLayout& layout);

// True when folder lies in an output tree that sits inside the input tree.
bool InsideNestedOutputTree(const FolderLayout& layout, const std::string& folder);

// True when the file name found in folder is a run log ("ConvLog.txt", "ErrorLog_003.txt", …)
// or the index page of the log folder.
bool IsRunLogFile(const FolderLayout& layout, const std::string& folder, const std::string& name);

// True when a file found by the walk is this program's output and not an input: it lies in an
// output tree nested in the input tree, or it is a run log or the index.
bool IsOwnOutput(const FolderLayout& layout, const std::string& folder, const std::string& name);

}  // namespace kelvara::run
