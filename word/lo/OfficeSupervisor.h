#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "word/DocumentEngine.h"
#include "word/lo/LibreOfficeEngine.h"
#include "word/lo/OfficeConnection.h"
#include "word/lo/OfficeNames.h"
#include "word/lo/OfficeProcess.h"
#include "word/lo/Watchdog.h"

namespace kelvara::word::lo {

// The life of one office of ours, from launch to quit: it starts the office on its private
// profile and pipe, connects to it, relaunches it when it crashed or its bridge broke, restarts
// it when it is worn (documents served, memory held), ends it when a document passes its
// deadline, and judges every failure of a call into it as Failed, Lost or TimedOut (the
// contract at the top of word/DocumentEngine.h).
//
// Each connection is a session with its own generation: what was loaded in an older one belonged
// to an office that is gone.
class OfficeSupervisor {
 public:
  explicit OfficeSupervisor(const LibreOfficeOptions& options);
  ~OfficeSupervisor();
  OfficeSupervisor(const OfficeSupervisor&) = delete;
  OfficeSupervisor& operator=(const OfficeSupervisor&) = delete;

  // Takes up the office again, launching one when none answers; throws EngineError(Unavailable).
  void connect();
  void disconnect();
  bool connected();
  void quit();

  // Before a document: starts its deadline (which covers a relaunch too), restarts a worn office,
  // relaunches a lost one, then runs prepare against the answering office. When anything throws,
  // the deadline is off again and the document does not count towards recycling.
  void beginDocument(const std::function<void()>& prepare);
  void endDocument();

  // The office runs and the bridge to it stands (whether or not the caller let go of it).
  bool answers();
  // Takes the office up for an operation; throws Lost (or TimedOut) when it does not answer.
  void requireConnection(const char* operation);
  // The EngineError that the exception being handled amounts to: TimedOut when the deadline
  // ended the office, Lost when the office or its bridge is gone, else Failed (an EngineError
  // stays as it is).
  EngineError failure(const std::string& operation);
  [[noreturn]] void fail(const std::string& operation) { throw failure(operation); }
  // The last document's deadline passed and the office was ended for it.
  bool timedOut() const { return watchdog_->expired(); }

  uint64_t generation() const { return generation_; }
  bool sameSession(uint64_t generation) const { return generation == generation_; }
  [[noreturn]] void failStaleSession() const;
  // Offices launched so far: a new one starts from its profile, without the settings the previous
  // one was given while it ran.
  uint64_t launchCount() const { return launches_; }

  const OfficeConnection& connection() const { return *connection_; }
  const std::string& instanceName() const { return names_.instance; }
  const std::string& productName() const { return productName_; }

 private:
  bool wornByCount() const;
  bool wornByMemory() const;
  void launchAndConnect();
  void startOffice();
  void connectToRunningOffice();
  void dropOffice(bool terminate);
  void readOfficeFacts();
  void progress(const std::string& text) const;

  LibreOfficeOptions options_;
  std::string programDir_;
  OfficeNames names_;
  std::string productVersion_;
  std::string productName_ = "LibreOffice";

  std::unique_ptr<OfficeProcess> process_;
  std::unique_ptr<OfficeConnection> connection_;
  std::atomic<int> officePid_{0};  // what the watchdog kills, from its own thread
  uint64_t generation_ = 0;
  uint64_t launches_ = 0;
  bool detached_ = false;  // disconnect() was called
  int documentsSinceLaunch_ = 0;
  std::unique_ptr<Watchdog> watchdog_;
};

}  // namespace kelvara::word::lo
