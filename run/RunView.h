#pragma once

#include <string>

#include "metadata/Indicators.h"
#include "run/RunCounters.h"

namespace kelvara::run {

// Everything a run shows to the person watching it. The window, the console front end and the
// tests each implement it; the core never touches widgets.
class RunView {
 public:
  virtual ~RunView() = default;

  // The conversion-state box (one short status text) and its hint.
  virtual void setConversionState(const std::string& text) = 0;
  virtual void setConversionStateHint(const std::string& /*text*/) {}
  // The progress box (what is happening inside the current step).
  virtual void setProgress(const std::string& text) = 0;
  // The progress box while a document is re-formatted ("Section Nr. 2 - Landscape"): a passing
  // state, shown where it can be overwritten and nowhere else.
  virtual void setSectionProgress(const std::string& text) { setProgress(text); }
  // The input- and output-path boxes and their hints.
  virtual void setPathBoxes(const std::string& /*input*/, const std::string& /*output*/) {}
  virtual void setOutputPathBox(const std::string& /*output*/) {}
  virtual void setPathHints(const std::string& /*input*/, const std::string& /*output*/) {}
  // The main window's hint: the open document's full name, or "Inactive".
  virtual void setDocumentHint(const std::string& /*text*/) {}
  virtual void setCounters(const RunCounters& counters) = 0;
  // How many files the walk will hand to the run, once a count made alongside it is done.
  virtual void setTotalEstimate(int /*files*/) {}
  virtual void setTrayHint(const std::string& /*text*/) {}
  // The window's busy/idle state (controls enabled or not).
  virtual void setBusy(bool /*busy*/) {}
  // The Run command; disabled when the chosen folders cannot be used, until they change.
  virtual void setRunEnabled(bool /*enabled*/) {}
  virtual void refreshFreeDisk() {}
  // One of the date, attribute and security lamps: lit in the colour unless off is set.
  virtual void setIndicator(metadata::Indicator /*which*/, metadata::LedColor /*color*/,
                            bool /*off*/) {}

  // Message boxes. A console answers questions with the cautious answer unless told otherwise.
  virtual void showMessage(const std::string& text) = 0;
  virtual void showError(const std::string& text, const std::string& title) = 0;
  virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
  virtual void beep() {}

  // The checkpoint where a window would process its pending messages. Pause waits and Stop
  // requests are honoured around these calls.
  virtual void processPendingMessages() {}
};

}  // namespace kelvara::run
