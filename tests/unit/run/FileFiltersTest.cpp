#include "run/FileFilters.h"

#include <gtest/gtest.h>

#include "metadata/AttributeText.h"
#include "platform/DosAttributes.h"
#include "support/ScratchDir.h"

namespace kelvara::run {
namespace {

using platform::DateTime;
using namespace platform;  // the attribute bits

constexpr const char* kPath = "/in/a.doc";
const std::string kSkipped = std::string("File ") + kPath + " Skipped due filter settings. ";

class FileFiltersTest : public ::testing::Test {
 protected:
  std::optional<std::string> line(const FileFacts& facts) {
    return FilterSkipLine(kPath, facts, settings, now, locale);
  }
  FileFacts created(const DateTime& date) {
    FileFacts facts;
    facts.created = date;
    return facts;
  }

  config::Settings settings;
  DateTime now{2023, 3, 31, 10, 11, 12};
  platform::Locale locale;
};

TEST(AttributeTextTest, OneLetterPerAttributeInItsPlace) {
  EXPECT_EQ(metadata::AttributeText(kDosReadOnly | kDosArchive), "-R-A--");
  EXPECT_EQ(metadata::AttributeText(kDosDirectory | kDosSystem | kDosHidden), "D-S--H");
  EXPECT_EQ(metadata::AttributeText(0), "------");
  EXPECT_EQ(metadata::AttributeText(0xFFFFFFFF), "DRSA*H");
}

TEST_F(FileFiltersTest, TheDefaultsSkipNothingWhateverTheFile) {
  EXPECT_EQ(line(FileFacts{}), std::nullopt);
  EXPECT_EQ(line(FileFacts{kDosHidden | kDosSystem | kDosReadOnly, DateTime{1980, 1, 1}, 0}),
            std::nullopt);
}

TEST_F(FileFiltersTest, AttributesMustBeOnOrOffAsRequired) {
  settings.IncludeHidden = 1;  // off
  EXPECT_EQ(line(FileFacts{kDosHidden | kDosReadOnly, {}, 1}),
            kSkipped + "Attributes - Found: -R---H, required: on ------ off-----H");
  EXPECT_EQ(line(FileFacts{kDosReadOnly | kDosArchive, {}, 1}), std::nullopt);

  settings.IncludeHidden = 2;
  settings.IncludeArchive = 0;  // on
  settings.IncludeSystem = 1;
  EXPECT_EQ(line(FileFacts{kDosReadOnly, {}, 1}),
            kSkipped + "Attributes - Found: -R----, required: on ---A-- off--S---");
  // Bits other than the four are not looked at.
  EXPECT_EQ(line(FileFacts{kDosArchive | kDosDirectory | 0x80, {}, 1}), std::nullopt);

  // Unreadable attributes count as all set: any "off" requirement skips the file.
  EXPECT_EQ(line(FileFacts{}),
            kSkipped + "Attributes - Found: -RSA-H, required: on ---A-- off--S---");
  settings.IncludeFilesAttributes = false;
  EXPECT_EQ(line(FileFacts{}), std::nullopt);
}

TEST_F(FileFiltersTest, DateRangeComparesCalendarDays) {
  settings.IncludeFileDate = true;
  settings.FromDate = DateTime{2023, 3, 1};
  settings.ToDate = DateTime{2023, 3, 10};
  EXPECT_EQ(line(created({2023, 2, 28, 23, 59, 59})),
            kSkipped + "Date - Found: 2023-02-28 23:59:59, required from: 2023-03-01");
  EXPECT_EQ(line(created({2023, 3, 11, 0, 0, 0})),
            kSkipped + "Date - Found: 2023-03-11, required to: 2023-03-10");
  EXPECT_EQ(line(created({2023, 3, 1, 0, 0, 0})), std::nullopt);
  EXPECT_EQ(line(created({2023, 3, 10, 23, 59, 59})), std::nullopt);
  // A date that cannot be read cannot be compared: the range lets it pass.
  EXPECT_EQ(line(FileFacts{}), std::nullopt);
}

TEST_F(FileFiltersTest, AgeLimitsUseCalendarArithmetic) {
  EXPECT_EQ(AgeLimit(now, 1, 2), (DateTime{2023, 2, 28, 10, 11, 12}));  // 31 March, 1 month
  EXPECT_EQ(AgeLimit({2024, 3, 31, 8, 0, 0}, 1, 2), (DateTime{2024, 2, 29, 8, 0, 0}));
  EXPECT_EQ(AgeLimit({2024, 2, 29, 8, 0, 0}, 1, 3), (DateTime{2023, 2, 28, 8, 0, 0}));
  EXPECT_EQ(AgeLimit(now, 2, 1), (DateTime{2023, 3, 17, 10, 11, 12}));
  EXPECT_EQ(AgeLimit(now, 31, 0), (DateTime{2023, 2, 28, 10, 11, 12}));
  // Absurd counts stop at the calendar's first year.
  EXPECT_GE(AgeLimit(now, 2'000'000'000, 3).year, 1);
  EXPECT_GE(AgeLimit(now, 2'000'000'000, 1).year, 1);
}

TEST_F(FileFiltersTest, NewerThanOneMonthOnTheLastOfMarch) {
  settings.IncludeFilesNewerThen = true;
  settings.NewerCnt = 1;
  settings.NewerType = 2;
  EXPECT_EQ(line(created({2023, 2, 28, 0, 0, 1})), std::nullopt);
  EXPECT_EQ(
      line(created({2023, 2, 27, 23, 0, 0})),
      kSkipped + "Date - Found: 2023-02-27 23:00:00, required newer then: 2023-02-28 10:11:12");
  // An age test that cannot be made fails; the zero date stands for the unknown one.
  EXPECT_EQ(line(FileFacts{}),
            kSkipped + "Date - Found: 1899-12-30, required newer then: 2023-02-28 10:11:12");
}

TEST_F(FileFiltersTest, OlderThanAndBothAgeTests) {
  settings.IncludeOlderThen = true;
  settings.OlderCnt = 1;
  settings.OlderType = 3;
  EXPECT_EQ(line(created({2022, 3, 31, 23, 0, 0})), std::nullopt);
  EXPECT_EQ(line(created({2022, 4, 1})),
            kSkipped + "Date - Found: 2022-04-01, required older then: 2022-03-31 10:11:12");

  // Both on: newer than a week or older than a year; only a file failing both is skipped.
  settings.IncludeFilesNewerThen = true;
  settings.NewerCnt = 1;
  settings.NewerType = 1;
  EXPECT_EQ(line(created({2021, 1, 1})), std::nullopt);
  EXPECT_EQ(line(created({2023, 3, 30})), std::nullopt);
  EXPECT_EQ(line(created({2022, 6, 1})),
            kSkipped +
                "Date - Found: 2022-06-01, required newer then: 2023-03-24 10:11:12, "
                "required older then: 2022-03-31 10:11:12");
}

TEST_F(FileFiltersTest, SizeLimitsIncludeTheirOwnValue) {
  settings.IncludeFilesAtLeastesAttr = true;
  settings.FileMinSize = 100;
  settings.IncludeFilesNoLargerAttr = true;
  settings.FileMaxSize = 5'000'000'000;
  EXPECT_EQ(line(FileFacts{0, {}, 100}), std::nullopt);
  EXPECT_EQ(line(FileFacts{0, {}, 5'000'000'000}), std::nullopt);
  EXPECT_EQ(line(FileFacts{0, {}, 99}),
            kSkipped + "Size - Found: 99, required no smaller then: 100");
  EXPECT_EQ(line(FileFacts{0, {}, 5'000'000'001}),
            kSkipped + "Size - Found: 5000000001, required no larger then: 5000000000");
  EXPECT_EQ(line(FileFacts{0, {}, -1}),
            kSkipped + "Size - Found: -1, required no smaller then: 100");
}

TEST_F(FileFiltersTest, TheFirstFailingTestIsTheOneReported) {
  settings.IncludeReadOnly = 1;
  settings.IncludeFileDate = true;
  settings.FromDate = settings.ToDate = DateTime{2023, 3, 31};
  settings.IncludeFilesAtLeastesAttr = true;
  settings.FileMinSize = 10;
  const FileFacts all{kDosReadOnly, DateTime{2020, 1, 1}, 1};
  EXPECT_NE(line(all)->find("Attributes - Found: -R----"), std::string::npos);
  EXPECT_NE(line(FileFacts{0, all.created, 1})->find("Date - Found: 2020-01-01"),
            std::string::npos);
  EXPECT_NE(line(FileFacts{0, now, 1})->find("Size - Found: 1"), std::string::npos);
}

TEST_F(FileFiltersTest, OnlyTheFactsAnEnabledTestNeedsAreRead) {
  testing::ScratchDir tmp;
  const std::string file = tmp.file("a.doc", "12345");
  FileFacts facts = ReadFileFacts(file, settings);
  EXPECT_FALSE(facts.attributes);
  EXPECT_FALSE(facts.created);
  EXPECT_EQ(facts.size, -1);

  settings.IncludeSystem = 0;
  settings.IncludeOlderThen = true;
  settings.IncludeFilesNoLargerAttr = true;
  facts = ReadFileFacts(file, settings);
  EXPECT_EQ(facts.attributes, kDosArchive);
  ASSERT_TRUE(facts.created);
  EXPECT_GE(facts.created->year, 2024);
  EXPECT_EQ(facts.size, 5);
}

}  // namespace
}  // namespace kelvara::run
