#include "app/StartUp.h"

#include <gtest/gtest.h>

namespace kelvara::app {
namespace {

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override { lists = word::BuildFormatLists("12.0", {}); }

  // A command line whose "if:"/"of:" are given as text, and Kelva.ini's stored positions.
  std::string choose(std::optional<std::string> in, std::optional<std::string> out,
                     int32_t storedIn, int32_t storedOut) {
    CommandLine cl;
    cl.inputFormat = std::move(in);
    cl.outputFormat = std::move(out);
    settings.InpFormatIndex = storedIn;
    settings.OutFormatIndex = storedOut;
    return ChooseFormats(lists, cl, settings, selection);
  }

  word::FormatLists lists;
  config::Settings settings;
  word::FormatSelection selection;
};

TEST_F(StartUpTest, NinetyNineOnTheCommandLineMeansTheStoredPositionApplies) {
  EXPECT_EQ(choose("99", "99", 3, 5), "");
  EXPECT_EQ(settings.InpFormatIndex, 3);
  EXPECT_EQ(settings.OutFormatIndex, 5);
  // Nothing stored either: the first entry.
  EXPECT_EQ(choose("99", std::nullopt, config::kFormatNotGiven, 2), "");
  EXPECT_EQ(settings.InpFormatIndex, 0);
  EXPECT_EQ(settings.OutFormatIndex, 2);
}

TEST_F(StartUpTest, GivenPositionsWinOverStoredOnesUpToTheLastEntry) {
  const auto lastOut = std::to_string(lists.output.size() - 1);
  EXPECT_EQ(choose("0", lastOut, 3, 5), "");
  EXPECT_EQ(settings.InpFormatIndex, 0);
  EXPECT_EQ(settings.OutFormatIndex, static_cast<int32_t>(lists.output.size() - 1));

  const auto pastOut = std::to_string(lists.output.size());
  EXPECT_NE(choose("0", pastOut, 3, 5).find("is not in the list"), std::string::npos);
  EXPECT_NE(choose("-1", "0", 3, 5).find("input format position -1"), std::string::npos);
  EXPECT_NE(choose("x", "0", 3, 5).find("input format position x"), std::string::npos);
  EXPECT_NE(choose("0", "", 3, 5).find("output format position"), std::string::npos);
}

TEST_F(StartUpTest, AFolderOnTheCommandLineMakesAFolderRunWhateverKelvaIniSays) {
  CommandLine folder;
  folder.InpPath = "/in/";
  settings.SingleFile = true;  // from Kelva.ini, with its own InpFileName
  settings.InpFileName = "/elsewhere/letter.doc";
  CompleteSettings(folder, settings);
  EXPECT_FALSE(settings.SingleFile);

  CommandLine file;
  file.singleFileForm = true;
  file.InpPath = "/in/";
  file.InpFileName = "/in/a.doc";
  settings.SingleFile = false;
  CompleteSettings(file, settings);
  EXPECT_TRUE(settings.SingleFile);

  // No input on the command line: Kelva.ini decides.
  settings.SingleFile = true;
  CompleteSettings(CommandLine{}, settings);
  EXPECT_TRUE(settings.SingleFile);
}

TEST(EngineCount, TakesOneToTheMostOfficesAndNothingElse) {
  int32_t count = 0;
  EXPECT_TRUE(ParseEngineCount("1", count));
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(ParseEngineCount(std::to_string(config::kMaxEngines), count));
  EXPECT_EQ(count, config::kMaxEngines);
  count = 5;
  const std::string tooMany = std::to_string(config::kMaxEngines + 1);
  for (const std::string& bad : {std::string("0"), std::string("-1"), std::string(),
                                 std::string("x"), std::string("2x"), tooMany}) {
    EXPECT_FALSE(ParseEngineCount(bad, count)) << bad;
  }
  EXPECT_EQ(count, 5);
  EXPECT_GE(config::DefaultEngines(), 1);
  EXPECT_LE(config::DefaultEngines(), config::kMaxEngines);
}

}  // namespace
}  // namespace kelvara::app
