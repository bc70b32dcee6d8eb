#include "platform/DosAttributes.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace kelvara::platform {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    out.push_back(static_cast<char>(v));
  }
  return out;
}

std::string le(uint64_t value, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  return out;
}

constexpr FileTime kCreated = 133'500'000'000'000'000;  // a day in 2024

TEST(DosAttribTest, LegacyHexText) {
  EXPECT_EQ(parseDosAttrib("0x20")->attributes, 0x20u);
  EXPECT_EQ(parseDosAttrib(std::string("0x22\0", 5))->attributes, 0x22u);
  EXPECT_EQ(parseDosAttrib("0X1f")->attributes, 0x1Fu);
  EXPECT_FALSE(parseDosAttrib("0x20")->createTime);
  EXPECT_FALSE(parseDosAttrib(""));
  EXPECT_FALSE(parseDosAttrib("0x"));
  EXPECT_FALSE(parseDosAttrib("hidden"));
  EXPECT_FALSE(parseDosAttrib(std::string("\0", 1)));
}

TEST(DosAttribTest, LegacyHexTextAtItsLimits) {
  // Every hex digit in both cases, up to the full 32 bits.
  EXPECT_EQ(parseDosAttrib("0xABCDEF")->attributes, 0xABCDEFu);
  EXPECT_EQ(parseDosAttrib("0xabcdef")->attributes, 0xABCDEFu);
  EXPECT_EQ(parseDosAttrib("0x9")->attributes, 9u);
  EXPECT_EQ(parseDosAttrib("0xFFFFFFFF")->attributes, 0xFFFFFFFFu);
  EXPECT_EQ(parseDosAttrib("0x00000020")->attributes, 0x20u);
  EXPECT_FALSE(parseDosAttrib("0x100000000"));
  EXPECT_FALSE(parseDosAttrib("0xG"));
}

TEST(DosAttribTest, VersionFiveLayout) {
  const std::string blob = encodeDosAttribV5(kDosHidden | kDosArchive, kCreated);
  ASSERT_EQ(blob.size(), 24u);
  EXPECT_EQ(blob.substr(0, 8), bytes({0, 0, 5, 0, 5, 0, 0, 0}));
  EXPECT_EQ(blob.substr(8, 4), le(0x11, 4));
  EXPECT_EQ(blob.substr(12, 4), le(0x22, 4));
  EXPECT_EQ(blob.substr(16, 8), le(kCreated, 8));

  const auto parsed = parseDosAttrib(blob);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->attributes, kDosHidden | kDosArchive);
  EXPECT_EQ(parsed->createTime, kCreated);

  const auto noTime = parseDosAttrib(encodeDosAttribV5(kDosSystem, std::nullopt));
  ASSERT_TRUE(noTime);
  EXPECT_EQ(noTime->attributes, kDosSystem);
  EXPECT_FALSE(noTime->createTime);
}

TEST(DosAttribTest, VersionThreeAfterAHexString) {
  // Samba 4.0-4.8: "0x21" NUL, pad to 2, version, level, pad to 4, then the version-3 fields.
  const std::string blob = std::string("0x21\0", 5) + bytes({0}) + le(3, 2) + le(3, 2) +
                           bytes({0, 0}) + le(0x11, 4) + le(0x21, 4) + le(0, 4) + le(5, 8) +
                           le(8, 8) + le(kCreated, 8) + le(kCreated + 1, 8);
  const auto parsed = parseDosAttrib(blob);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->attributes, 0x21u);
  EXPECT_EQ(parsed->createTime, kCreated);
}

TEST(DosAttribTest, VersionFourAndOne) {
  const std::string v4 = bytes({0, 0}) + le(4, 2) + le(4, 2) + bytes({0, 0}) + le(0x11, 4) +
                         le(0x02, 4) + le(kCreated - 5, 8) + le(kCreated, 8);
  ASSERT_TRUE(parseDosAttrib(v4));
  EXPECT_EQ(parseDosAttrib(v4)->attributes, 0x02u);
  EXPECT_EQ(parseDosAttrib(v4)->createTime, kCreated);

  // A four-byte hex string: version at 4, level at 6, fields from 8.
  const std::string v1 = std::string("0x4\0", 4) + le(1, 2) + le(1, 2) + le(0x04, 4) + le(0, 4) +
                         le(0, 8) + le(0, 8) + le(kCreated, 8) + le(0, 8);
  ASSERT_TRUE(parseDosAttrib(v1));
  EXPECT_EQ(parseDosAttrib(v1)->attributes, 0x04u);
  EXPECT_EQ(parseDosAttrib(v1)->createTime, kCreated);
}

TEST(DosAttribTest, VersionTwoGivesAttributesOnly) {
  const std::string v2 = bytes({0, 0}) + le(2, 2) + le(2, 2) + bytes({0, 0}) + le(1, 4) +
                         le(0x01, 4) + le(0, 4) + le(0, 8) + le(0, 8) + le(kCreated, 8) + le(0, 8) +
                         le(0, 8) + bytes({0});
  const auto parsed = parseDosAttrib(v2);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->attributes, kDosReadOnly);
  EXPECT_FALSE(parsed->createTime);
}

TEST(DosAttribTest, ValidFlagsDecideWhatIsKnown) {
  const std::string onlyTime = bytes({0, 0}) + le(5, 2) + le(5, 2) + bytes({0, 0}) + le(0x10, 4) +
                               le(0x02, 4) + le(kCreated, 8);
  const auto parsed = parseDosAttrib(onlyTime);
  ASSERT_TRUE(parsed);
  EXPECT_FALSE(parsed->attributes);
  EXPECT_EQ(parsed->createTime, kCreated);

  const std::string zeroTime = encodeDosAttribV5(0x20, FileTime{0});
  EXPECT_FALSE(parseDosAttrib(zeroTime)->createTime);
}

TEST(DosAttribTest, MalformedBlobs) {
  const std::string good = encodeDosAttribV5(0x20, kCreated);
  EXPECT_FALSE(parseDosAttrib(good.substr(0, 20)));  // truncated
  std::string mismatch = good;
  mismatch[4] = 4;  // level differs from version
  EXPECT_FALSE(parseDosAttrib(mismatch));
  std::string unknown = good;
  unknown[2] = unknown[4] = 9;
  EXPECT_FALSE(parseDosAttrib(unknown));
  std::string compat = good;
  compat[2] = compat[3] = compat[4] = compat[5] = static_cast<char>(0xFF);
  EXPECT_FALSE(parseDosAttrib(compat));
}

TEST(DosAttribTest, ReadFromAFileAndAFolder) {
  kelvara::testing::ScratchDir dir;
  const std::string file = dir.file("a.doc");
  const std::string folder = dir.dir("sub");
  EXPECT_FALSE(readDosAttrib(file));
  if (!kelvara::testing::trySetXattr(file, kDosAttribXattr, encodeDosAttribV5(0x23, kCreated))) {
    GTEST_SKIP() << "the file system refuses user extended attributes";
  }
  ASSERT_TRUE(kelvara::testing::trySetXattr(folder, kDosAttribXattr, "0x16"));
  EXPECT_EQ(readDosAttrib(file)->attributes, 0x23u);
  EXPECT_EQ(readDosAttrib(file)->createTime, kCreated);
  EXPECT_EQ(readDosAttrib(folder)->attributes, 0x16u);
  EXPECT_FALSE(readDosAttrib(dir / "missing"));
}

}  // namespace
}  // namespace kelvara::platform
