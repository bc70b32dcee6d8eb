#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace kelvara::platform {
namespace {

using DT = DateTime;

const Locale kIso{};  // %Y-%m-%d, %H:%M:%S, point
const Locale kGerman{"%d.%m.%Y", "%H:%M:%S", ','};
const Locale kUs{"%m/%d/%Y", "%I:%M:%S %p", '.'};

TEST(LocaleDates, DateTimeLeavesOutAMidnightTime) {
  EXPECT_EQ(kIso.formatDateTime(DT{2024, 3, 5, 0, 0, 0}), "2024-03-05");
  EXPECT_EQ(kIso.formatDateTime(DT{2024, 3, 5, 0, 0, 1}), "2024-03-05 00:00:01");
  EXPECT_EQ(kGerman.formatDateTime(DT{2024, 3, 5, 14, 7, 9}), "05.03.2024 14:07:09");
  EXPECT_EQ(kUs.formatDateTime(DT{2024, 3, 5, 14, 7, 9}), "03/05/2024 02:07:09 PM");
}

TEST(LocaleDates, FormattedValuesParseBackExactly) {
  for (const Locale* l : {&kIso, &kGerman, &kUs}) {
    for (const DT& dt : {DT{2024, 2, 29, 23, 59, 59}, DT{1899, 12, 30, 0, 0, 0},
                         DT{1950, 1, 1, 12, 0, 0}, DT{2100, 12, 31, 0, 30, 0}}) {
      EXPECT_EQ(l->parseDateTime(l->formatDateTime(dt)), dt) << l->shortDateFormat;
      EXPECT_EQ(l->parseShortDate(l->formatShortDate(dt)), dt.dateOnly()) << l->shortDateFormat;
    }
  }
}

TEST(LocaleDates, TextThatIsNotADateOfThisLocaleIsRefused) {
  EXPECT_EQ(kIso.parseDateTime("2023-02-29"), std::nullopt);  // no such day
  EXPECT_EQ(kIso.parseDateTime("2024-04-31"), std::nullopt);
  EXPECT_EQ(kIso.parseDateTime("2024-03-05x"), std::nullopt);
  EXPECT_EQ(kIso.parseDateTime("2024-03-05 25:00:00"), std::nullopt);
  EXPECT_EQ(kIso.parseDateTime("2024-03-05 10:00:00 junk"), std::nullopt);
  EXPECT_EQ(kIso.parseDateTime(""), std::nullopt);
  EXPECT_EQ(kGerman.parseDateTime("2024-03-05"), std::nullopt);
  EXPECT_EQ(kIso.parseShortDate("2024-03-05 10:00:00"), std::nullopt);
  EXPECT_EQ(kIso.parseDateTime("2024-03-05  "), (DT{2024, 3, 5}));
}

TEST(LocaleNumbers, ShortestFormWithTheLocaleSeparator) {
  EXPECT_EQ(kIso.formatFloat(17.28), "17.28");
  EXPECT_EQ(kIso.formatFloat(56.7), "56.7");
  EXPECT_EQ(kIso.formatFloat(0.1 + 0.2), "0.3");  // 15 significant digits
  EXPECT_EQ(kIso.formatFloat(792), "792");
  EXPECT_EQ(kIso.formatFloat(-3), "-3");
  EXPECT_EQ(kIso.formatFloat(-0.0), "0");
  EXPECT_EQ(kGerman.formatFloat(19.85), "19,85");
}

TEST(LocaleNumbers, OnlyTheLocaleFormIsAccepted) {
  EXPECT_EQ(kGerman.parseFloat("19,85"), 19.85);
  EXPECT_EQ(kGerman.parseFloat("19.85"), std::nullopt);
  EXPECT_EQ(kIso.parseFloat("19,85"), std::nullopt);
  EXPECT_EQ(kIso.parseFloat(" 19.85 "), 19.85);
  EXPECT_EQ(kIso.parseFloat("+2"), 2.0);
  EXPECT_EQ(kIso.parseFloat("-2.5"), -2.5);
  EXPECT_EQ(kIso.parseFloat("1e3"), 1000.0);
  for (const char* bad : {"", " ", "abc", "1.2.3", "12pt", "inf", "nan", "+-1", "0x10"}) {
    EXPECT_EQ(kIso.parseFloat(bad), std::nullopt) << bad;
  }
  for (double v : {0.1, 17.28, 19.85, 1e-7, 123456789.125, -56.7}) {
    EXPECT_EQ(kGerman.parseFloat(kGerman.formatFloat(v)), v);
    EXPECT_EQ(kIso.parseFloat(kIso.formatFloat(v)), v);
  }
}

// Sets LC_ALL for one test and puts the old value back.
class LcAllGuard {
 public:
  explicit LcAllGuard(const char* value) {
    if (const char* old = std::getenv("LC_ALL")) {
      old_ = old;
    }
    setenv("LC_ALL", value, 1);
  }
  ~LcAllGuard() {
    if (old_) {
      setenv("LC_ALL", old_->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }
  LcAllGuard(const LcAllGuard&) = delete;
  LcAllGuard& operator=(const LcAllGuard&) = delete;

 private:
  std::optional<std::string> old_;
};

TEST(LocaleEnvironment, CLocaleWithFourDigitYears) {
  LcAllGuard env("C");
  const std::string before = std::setlocale(LC_ALL, nullptr);
  const Locale l = Locale::fromEnvironment();
  EXPECT_EQ(l.shortDateFormat, "%m/%d/%Y");
  EXPECT_EQ(l.longTimeFormat, "%H:%M:%S");
  EXPECT_EQ(l.decimalSeparator, '.');
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);  // the process locale is untouched
  // A year outside the two-digit window survives the round trip.
  EXPECT_EQ(l.parseDateTime(l.formatDateTime(DT{1950, 6, 1, 8, 0, 0})), (DT{1950, 6, 1, 8, 0, 0}));
}

TEST(LocaleEnvironment, AnUnknownLocaleFallsBackToC) {
  LcAllGuard env("xx_NOWHERE.UTF-8");
  const Locale l = Locale::fromEnvironment();
  EXPECT_EQ(l.shortDateFormat, "%m/%d/%Y");
  EXPECT_EQ(l.decimalSeparator, '.');
}

}  // namespace
}  // namespace kelvara::platform
