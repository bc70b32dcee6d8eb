#pragma once

#include <functional>
#include <memory>
#include <string>

#include "word/DocumentEngine.h"

namespace kelvara::word {

// How the LibreOffice engine runs its own office.
struct LibreOfficeOptions {
  std::string stateDir;  // empty: platform::stateDir()
  // Empty: "kelvara-<pid>", which names the pipe and the profile folder and tells later runs
  // whose office it is; "kelvara-<pid>-<k>" does the same for one office of a pool. Offices with
  // other names (tests) count as stale to any other process.
  std::string instanceName;
  std::string sofficePath;          // empty: the office program of the standard installation
  int docTimeoutSeconds = 300;      // per-document limit; 0 = none
  int recycleAfterDocuments = 200;  // restart the office after so many documents; 0 = never
  // Restart the office before a document when its resident memory exceeds this; 0 = never.
  // Large documents make the office grow far faster than the document count suggests.
  int recycleAboveMegabytes = 300;
  int connectTimeoutSeconds = 60;  // how long a starting office may take to answer
  // Status texts for the window's progress box ("Opening LibreOffice...").
  std::function<void(const std::string&)> progress;
};

std::unique_ptr<DocumentEngine> makeLibreOfficeEngine(const LibreOfficeOptions& options);

// What clearing stale offices found and did.
struct StaleOfficeReport {
  int found = 0;         // our offices whose run is gone
  int ended = 0;         // of them, process trees ended
  int stillRunning = 0;  // still there afterwards
  int errorCode = 0;     // errno of the last failed kill, 0 when none failed
};

// Ends offices of ours whose run is gone (recognised by a profile "<stateDir>/office-..." on their
// command line; the run by the pid in the profile's name, "office-kelvara-<pid>[-<k>]"), children
// before parents, and removes the profiles that ended runs left. Offices of runs still alive, the
// user's own office and those of this process are never touched. An empty stateDir means
// platform::stateDir(). Progress reports "LibreOffice is running. It will be tried to close it"
// when one is found.
StaleOfficeReport clearStaleOffices(const std::string& stateDir,
                                    const std::function<void(const std::string&)>& progress);

// Kills every office this process started, at once: for an abort, when the program ends without
// quitting its engines. Other runs' offices are left alone.
void endOfficesOfThisProcess(const std::string& stateDir);

}  // namespace kelvara::word
