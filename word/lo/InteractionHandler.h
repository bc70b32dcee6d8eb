#pragma once

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// What the office asked while loading one document.
struct InteractionRecord {
  uint32_t errorCode = 0;  // 0 when the office reported no error
  std::string words;       // set when the request says more than its code (password, repair)
  bool any = false;
};

// Answers every question of the office during a load the cautious way (abort, or refuse
// repair), so that no dialog ever waits, and records the error the office reported.
class InteractionHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
 public:
  void SAL_CALL handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;

  InteractionRecord take();

 private:
  void record(uint32_t code, const std::string& words);

  std::mutex mutex_;
  InteractionRecord record_;
};

}  // namespace kelvara::word::lo
