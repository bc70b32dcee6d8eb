#include "config/ConfigureRules.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvara::config {
namespace {

using platform::DateTime;

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

TEST(SizeFieldTest, KbytesShowWholeDivisionAndStoreTimes1024) {
  EXPECT_EQ(ShownSize(5000, kSizeInBytes), 5000);
  EXPECT_EQ(ShownSize(5000, kSizeInKbytes), 4);  // 4.88 shown as 4
  EXPECT_EQ(ShownSize(1023, kSizeInKbytes), 0);
  EXPECT_EQ(StoredSize(4, kSizeInKbytes), 4096);
  EXPECT_EQ(StoredSize(4, kSizeInBytes), 4);
  // Beyond 32 bits: the sizes are 64-bit both ways.
  EXPECT_EQ(StoredSize(5000000, kSizeInKbytes), 5120000000LL);
  EXPECT_EQ(ShownSize(5120000000LL, kSizeInKbytes), 5000000);
}

TEST(SizeFieldTest, UnitSwitchConvertsTheShownNumber) {
  EXPECT_EQ(ConvertShownSize(5000, kSizeInBytes, kSizeInKbytes), 4);
  EXPECT_EQ(ConvertShownSize(4, kSizeInKbytes, kSizeInBytes), 4096);
  EXPECT_EQ(ConvertShownSize(4, kSizeInKbytes, kSizeInKbytes), 4);
  // Switching there and back loses the remainder, as a whole division does.
  EXPECT_EQ(ConvertShownSize(ConvertShownSize(5000, 0, 1), 1, 0), 4096);
}

TEST(SizeFieldTest, HugeNumbersSaturateInsteadOfWrapping) {
  EXPECT_EQ(StoredSize(kMax / 1024 + 1, kSizeInKbytes), kMax);
  EXPECT_EQ(ConvertShownSize(kMax, kSizeInKbytes, kSizeInBytes), kMax);
  EXPECT_EQ(StoredSize(kMax / 1024, kSizeInKbytes), (kMax / 1024) * 1024);
}

TEST(SizeFieldTest, TextReadsDigitsOnlyElseZero) {
  EXPECT_EQ(ParseShownSize("5000"), 5000);
  EXPECT_EQ(ParseShownSize(""), 0);
  EXPECT_EQ(ParseShownSize("12a"), 0);
  EXPECT_EQ(ParseShownSize("-5"), 0);
  EXPECT_EQ(ParseShownSize("9223372036854775807"), kMax);
  EXPECT_EQ(ParseShownSize("99999999999999999999"), kMax);
}

TEST(NewFilesDateTest, PickedTimeOrTheTimeOfDayNow) {
  const DateTime day{2021, 3, 4, 0, 0, 0};
  const DateTime picked{2000, 1, 1, 13, 14, 15};
  const DateTime now{2024, 5, 17, 9, 30, 15};
  EXPECT_EQ(ComposeNewFilesDate(day, true, picked, now), (DateTime{2021, 3, 4, 13, 14, 15}));
  // Without a picked time, the day stays the picked one and only the time comes from now.
  EXPECT_EQ(ComposeNewFilesDate(day, false, picked, now), (DateTime{2021, 3, 4, 9, 30, 15}));
}

TEST(VersionControlChoiceTest, LaterFlagWinsAndNothingSetMeansNone) {
  EXPECT_EQ(VersionControlChoice(true, false, false), 0);
  EXPECT_EQ(VersionControlChoice(false, false, false), 0);
  // Opening sets NoVersionNum first, so a stored rename still shows.
  EXPECT_EQ(VersionControlChoice(true, true, false), 1);
  EXPECT_EQ(VersionControlChoice(true, true, true), 2);
  EXPECT_EQ(VersionControlChoice(false, false, true), 2);
}

TEST(PersonalInfoTest, OfferedOnlyByTheTwoVersionsWithTheOption) {
  EXPECT_TRUE(OffersPersonalInfoRemoval("10.0"));
  EXPECT_TRUE(OffersPersonalInfoRemoval("11.0"));
  EXPECT_FALSE(OffersPersonalInfoRemoval("9.0"));
  EXPECT_FALSE(OffersPersonalInfoRemoval("12.0"));
  EXPECT_FALSE(OffersPersonalInfoRemoval(""));
}

}  // namespace
}  // namespace kelvara::config
