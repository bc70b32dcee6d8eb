#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace kelvara::platform {
namespace {

using DT = DateTime;

// Pins the process's time zone for one test and puts the old one back.
class ZoneGuard {
 public:
  explicit ZoneGuard(const char* tz) {
    if (const char* old = std::getenv("TZ")) {
      old_ = old;
    }
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ZoneGuard() {
    if (old_) {
      setenv("TZ", old_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ZoneGuard(const ZoneGuard&) = delete;
  ZoneGuard& operator=(const ZoneGuard&) = delete;

 private:
  std::optional<std::string> old_;
};

TEST(DateTimeCalendar, MonthArithmeticClampsToTheLastDayOfTheTargetMonth) {
  EXPECT_EQ(addMonths(DT{2023, 3, 31, 10, 20, 30}, -1), (DT{2023, 2, 28, 10, 20, 30}));
  EXPECT_EQ(addMonths(DT{2024, 3, 31}, -1), (DT{2024, 2, 29}));  // leap year
  EXPECT_EQ(addMonths(DT{2000, 3, 31}, -1), (DT{2000, 2, 29}));  // divisible by 400
  EXPECT_EQ(addMonths(DT{1900, 3, 31}, -1), (DT{1900, 2, 28}));  // divisible by 100 only
  EXPECT_EQ(addMonths(DT{2024, 1, 31}, 1), (DT{2024, 2, 29}));
  EXPECT_EQ(addMonths(DT{2023, 5, 31}, 1), (DT{2023, 6, 30}));
  EXPECT_EQ(addMonths(DT{2023, 12, 31}, 2), (DT{2024, 2, 29}));
  EXPECT_EQ(addMonths(DT{2024, 1, 15}, -13), (DT{2022, 12, 15}));
  EXPECT_EQ(addMonths(DT{2024, 1, 15}, 0), (DT{2024, 1, 15}));
}

TEST(DateTimeCalendar, YearsAndDays) {
  EXPECT_EQ(addYears(DT{2024, 2, 29}, 1), (DT{2025, 2, 28}));
  EXPECT_EQ(addYears(DT{2024, 2, 29}, 4), (DT{2028, 2, 29}));
  EXPECT_EQ(addYears(DT{2024, 2, 29}, -1), (DT{2023, 2, 28}));
  EXPECT_EQ(addDays(DT{2024, 2, 28, 23, 59, 59}, 1), (DT{2024, 2, 29, 23, 59, 59}));
  EXPECT_EQ(addDays(DT{2023, 2, 28}, 1), (DT{2023, 3, 1}));
  EXPECT_EQ(addDays(DT{2023, 12, 31}, 1), (DT{2024, 1, 1}));
  EXPECT_EQ(addDays(DT{2024, 3, 1}, -1), (DT{2024, 2, 29}));
  EXPECT_EQ(addDays(DT{2024, 1, 1}, -366), (DT{2022, 12, 31}));
  EXPECT_EQ(addDays(DT{2024, 1, 1}, 7 * 52), (DT{2024, 12, 30}));
}

TEST(DateTimeFileTime, UnixEpochAndSubSecondTicks) {
  EXPECT_EQ(unixToFileTime(0), 116444736000000000LL);
  EXPECT_EQ(unixToFileTime(1, 999), 116444736010000009LL);
  EXPECT_EQ(unixToFileTime(-11644473600LL), 0);
}

TEST(DateTimeLocal, ConversionFollowsTheZoneRulesOfTheDate) {
  ZoneGuard zone("CET-1CEST,M3.5.0,M10.5.0/3");
  // Winter: UTC+1; summer: UTC+2, whatever the season of today.
  EXPECT_EQ(toUnixLocal(DT{2024, 1, 15, 12, 0, 0}), std::optional<std::time_t>(1705316400));
  EXPECT_EQ(toUnixLocal(DT{2024, 7, 15, 12, 0, 0}), std::optional<std::time_t>(1721037600));
  EXPECT_EQ(fromUnixLocal(1721037600), (DT{2024, 7, 15, 12, 0, 0}));
  EXPECT_EQ(localToFileTime(DT{2024, 7, 15, 12, 0, 0}), unixToFileTime(1721037600));
}

TEST(DateTimeLocal, OneSecondBeforeTheEpochIsNotAFailure) {
  ZoneGuard zone("UTC0");
  EXPECT_EQ(toUnixLocal(DT{1969, 12, 31, 23, 59, 59}), std::optional<std::time_t>(-1));
  EXPECT_EQ(toUnixLocal(DT{1970, 1, 1, 0, 0, 0}), std::optional<std::time_t>(0));
}

TEST(DateTimeLocal, ImpossibleDatesAreRefusedNotNormalised) {
  EXPECT_EQ(toUnixLocal(DT{2023, 2, 29}), std::nullopt);
  EXPECT_EQ(toUnixLocal(DT{2024, 13, 1}), std::nullopt);
  EXPECT_EQ(toUnixLocal(DT{2024, 1, 1, 24, 0, 0}), std::nullopt);
  EXPECT_EQ(localToFileTime(DT{2024, 4, 31}), 0);
}

TEST(DateTimeLocal, NowRoundTripsThroughUnixTime) {
  ZoneGuard zone("UTC0");
  const std::time_t t = std::time(nullptr);
  const DT local = fromUnixLocal(t);
  EXPECT_EQ(toUnixLocal(local), std::optional<std::time_t>(t));
}

}  // namespace
}  // namespace kelvara::platform
