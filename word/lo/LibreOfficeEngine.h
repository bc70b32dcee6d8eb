#pragma once

#include <functional>
#include <memory>
#include <string>

#include "word/DocumentEngine.h"

namespace kelvara::word {

// How the LibreOffice engine runs its own office.
struct LibreOfficeOptions {
  std::string stateDir;             // empty: platform::stateDir()
  std::string instanceName;         // empty: "kelvara-<pid>"; names the pipe and the profile folder
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
  int found = 0;         // our offices not owned by a live engine of this process
  int ended = 0;         // of them, process trees ended
  int stillRunning = 0;  // still there afterwards
  int errorCode = 0;     // errno of the last failed kill, 0 when none failed
};

// Ends offices of ours left by an earlier run (recognised by a profile below
// "<stateDir>/office-" on their command line), children before parents, and removes the
// profiles such runs abandoned. The user's own office is never touched. Progress reports
// "LibreOffice is running. It will be tried to close it" when one is found.
StaleOfficeReport clearStaleOffices(const std::string& stateDir,
                                    const std::function<void(const std::string&)>& progress);

}  // namespace kelvara::word
