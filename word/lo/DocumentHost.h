#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "word/DocumentEngine.h"

namespace kelvara::word::lo {

// What a loaded document needs of the engine that loaded it, and no more.
class DocumentHost {
 public:
  virtual ~DocumentHost() = default;

  // True while the office session the document was loaded in still serves us.
  virtual bool sameSession(uint64_t generation) const = 0;
  // Throws EngineError(Lost) for a document whose office has ended.
  [[noreturn]] virtual void failStaleSession() const = 0;
  // The EngineError that the exception being handled amounts to (Failed, Lost, TimedOut).
  virtual EngineError failure(const std::string& operation) = 0;
  [[noreturn]] void fail(const std::string& operation) { throw failure(operation); }
  // The filter a save format code writes with; throws EngineError(Failed) when there is none.
  virtual std::string saveFilterName(int32_t saveFormat, bool* plainText) = 0;
  // The office-wide switch for removing personal data on saving.
  virtual void setRemovePersonalInfoOnSaving(bool on) = 0;
  // The user name documents are saved under; absent when none was set.
  virtual std::optional<std::string> userName() const = 0;
};

}  // namespace kelvara::word::lo
