#include "platform/Interrupts.h"

#include <gtest/gtest.h>

namespace kelvara::platform {
namespace {

using Kind = EndRequests::Kind;

TEST(EndRequestsTest, FirstRequestStopsASecondInterruptAbortsHangupsNever) {
  EndRequests ctrlC;
  EXPECT_EQ(ctrlC.on(Kind::Interrupt), EndAction::Stop);
  EXPECT_EQ(ctrlC.on(Kind::Interrupt), EndAction::Abort);
  EXPECT_EQ(ctrlC.on(Kind::Interrupt), EndAction::Abort);

  // A closing terminal: the shell's hangup and the kernel's, then perhaps a SIGTERM.
  EndRequests hangup;
  EXPECT_EQ(hangup.on(Kind::Hangup), EndAction::Stop);
  EXPECT_EQ(hangup.on(Kind::Hangup), EndAction::None);
  EXPECT_EQ(hangup.on(Kind::Hangup), EndAction::None);
  EXPECT_EQ(hangup.on(Kind::Interrupt), EndAction::Abort);

  EndRequests stoppedThenHungUp;
  EXPECT_EQ(stoppedThenHungUp.on(Kind::Interrupt), EndAction::Stop);
  EXPECT_EQ(stoppedThenHungUp.on(Kind::Hangup), EndAction::None);
}

}  // namespace
}  // namespace kelvara::platform
