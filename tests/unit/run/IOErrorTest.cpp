#include "run/IOError.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kelvara::run {
namespace {

TEST(FormatIOErrorTest, WordPathAndSystemText) {
  EXPECT_EQ(FormatIOError("/out/Log/ConvLog.txt", static_cast<int>(IOOperation::Write), ENOSPC),
            "Err. Write /out/Log/ConvLog.txt: No space left on device");
  EXPECT_EQ(FormatIOError("/x/", 0, EACCES), "Err. Creation /x/: Permission denied");
  EXPECT_EQ(FormatIOError("/x", 8, ENOENT), "Err. Rename /x: No such file or directory");
}

TEST(FormatIOErrorTest, UnknownOperations) {
  EXPECT_EQ(FormatIOError("/x", 9, ENOENT), "????? /x: No such file or directory");
  EXPECT_EQ(FormatIOError("/x", -1, ENOENT), "????? /x: No such file or directory");
}

TEST(FormatIOErrorTest, CutToExactly132Characters) {
  const std::string path = "/" + std::string(200, 'p');
  const std::string text = FormatIOError(path, static_cast<int>(IOOperation::Open), ENOENT);
  EXPECT_EQ(text.size(), 132u);
  EXPECT_EQ(text, ("Err. Open " + path).substr(0, 132));
}

TEST(FormatIOErrorTest, CutNeverSplitsACharacter) {
  const std::string longPath = "/" + std::string(120, 'p') + "ééééééé";
  const std::string text = FormatIOError(longPath, 1, ENOENT);
  // "Err. Open " (10) + 122 characters: the last one is the first "é" (two bytes).
  EXPECT_EQ(text, "Err. Open /" + std::string(120, 'p') + "é");
  EXPECT_EQ(CutToChars("aé", 1), "a");
  EXPECT_EQ(CutToChars("aé", 2), "aé");
  EXPECT_EQ(CutToChars("short", 255), "short");
}

}  // namespace
}  // namespace kelvara::run
