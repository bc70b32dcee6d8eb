#include "app/window/Led.h"

#include <gtest/gtest.h>

namespace kelvara::window {
namespace {

TEST(LedTest, ShowsTheBrightColourWhenLitAndTheDarkOneWhenNot) {
  Led led;
  const struct {
    Led::Color color;
    QColor lit, unlit;
  } cases[] = {{Led::Green, QColor(0x00, 0xFF, 0x00), QColor(0x00, 0x80, 0x00)},
               {Led::Yellow, QColor(0xFF, 0xFF, 0x00), QColor(0x80, 0x80, 0x00)},
               {Led::Red, QColor(0xFF, 0x00, 0x00), QColor(0x80, 0x00, 0x00)}};
  for (const auto& c : cases) {
    led.setLedColor(c.color);
    led.setLedOn(true);
    EXPECT_EQ(led.shownColor(), c.lit);
    led.setLedOn(false);
    EXPECT_EQ(led.shownColor(), c.unlit);
  }
}

}  // namespace
}  // namespace kelvara::window
