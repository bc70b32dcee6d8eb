#include "config/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace kelvara::config {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

class IniFileTest : public ::testing::Test {
 protected:
  std::string make(const std::string& content) { return tmp_.write("Kelva.ini", content); }

  TempDir tmp_;
};

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseOrBlanks) {
  IniFile ini(make("[options]\n  SCANSUBDIR =  0  \n[Paragraph Setup]\nWidowControl=1\n"));
  EXPECT_EQ(ini.read("Options", "ScanSubDir"), "0");
  EXPECT_EQ(ini.read(" OPTIONS ", "scansubdir"), "0");
  // A section name with a trailing blank finds the header written without it.
  EXPECT_EQ(ini.read("Paragraph Setup ", "widowcontrol"), "1");
  EXPECT_EQ(ini.read("Options", "WidowControl"), std::nullopt);  // keys belong to their section
  EXPECT_EQ(ini.read("Nothing", "ScanSubDir"), std::nullopt);
}

TEST_F(IniFileTest, NamesMatchIgnoringCaseThroughTheWholeAlphabet) {
  IniFile ini(make("[CONVERSION OPTIONS]\nFILEMAXSIZE=5\nzoom=7\nKey@=1\nKey[=2\n"));
  EXPECT_EQ(ini.read("Conversion Options", "FileMaxSize"), "5");
  EXPECT_EQ(ini.read("conversion options", "ZOOM"), "7");
  // The characters next to the letters are not letters of another case.
  EXPECT_EQ(ini.read("Conversion Options", "Key`"), std::nullopt);
  EXPECT_EQ(ini.read("Conversion Options", "Key{"), std::nullopt);
  EXPECT_EQ(ini.read("Conversion Options", "KEY@"), "1");
}

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  IniFile ini(tmp_ / "absent.ini");
  EXPECT_EQ(ini.read("Options", "Debug"), std::nullopt);
  EXPECT_EQ(ini.readString("Options", "Name", "dflt"), "dflt");
  EXPECT_EQ(ini.readInteger("Options", "Count", 42), 42);
  EXPECT_TRUE(ini.readBool("Options", "Flag", true));
  EXPECT_EQ(ini.readFloat("Options", "Len", 19.85, platform::Locale{}), 19.85);
}

TEST_F(IniFileTest, QuotesAreStrippedAndUnquotedBlanksTrimmed) {
  IniFile ini(
      make("[External Programs]\n"
           "ProgCmdLine2=\" dfrm=MSWW7 out=\"\n"
           "Plain=   two words   \n"
           "Half=\"open\n"
           "Inner=a \"b\" c\n"
           "Empty=\n"
           "Lone=\"\n"
           "; Comment=1\n"
           "NoEquals\n"
           "Eq=a=b\n"
           "Plain=second\n"));
  const std::string s = "External Programs";
  EXPECT_EQ(ini.read(s, "ProgCmdLine2"), " dfrm=MSWW7 out=");
  EXPECT_EQ(ini.read(s, "Plain"), "two words");  // the first of two wins
  EXPECT_EQ(ini.read(s, "Half"), "\"open");
  EXPECT_EQ(ini.read(s, "Inner"), "a \"b\" c");
  EXPECT_EQ(ini.read(s, "Empty"), "");
  EXPECT_EQ(ini.readString(s, "Empty", "dflt"), "");  // present but empty is not absent
  EXPECT_EQ(ini.read(s, "Lone"), "\"");
  EXPECT_EQ(ini.read(s, "; Comment"), std::nullopt);
  EXPECT_EQ(ini.read(s, "NoEquals"), std::nullopt);
  EXPECT_EQ(ini.read(s, "Eq"), "a=b");
}

TEST_F(IniFileTest, ValuesAreCutAt2047Bytes) {
  const std::string longValue(3000, 'v');
  IniFile ini(make("[S]\nK=" + longValue + "\nQ=\"" + longValue +
                   "\"\nU=" + std::string(2046, 'a') + "\xC3\xA9" + "tail\n"));
  EXPECT_EQ(ini.read("S", "K")->size(), 2047u);
  EXPECT_EQ(ini.read("S", "Q"), std::string(2047, 'v'));  // quotes go first
  EXPECT_EQ(ini.read("S", "U"), std::string(2046, 'a'));  // never half a character
}

TEST_F(IniFileTest, IntegerAndBoolReading) {
  IniFile ini(
      make("[N]\nDec=-17\nPlus=+5\nHex=0x1F\nHexUpper=0XfF\nAllBits=0xFFFFFFFF\nNegHex=-0x10\n"
           "Trail=12abc\nWord=yes\nBig=2147483648\nMin=-2147483648\nHexBig=0x100000000\nBare=0x\n"
           "Blank=\nSpaced= 7 \nQuoted=\"8\"\nFloat=1.5\nTwo=2\nZero=0\nMax=2147483647\n"
           "HexMax=0x7FFFFFFF\nHexMin=0x80000000\n"));
  EXPECT_EQ(ini.readInteger("N", "Dec", 1), -17);
  EXPECT_EQ(ini.readInteger("N", "Plus", 1), 5);
  EXPECT_EQ(ini.readInteger("N", "Hex", 1), 31);
  EXPECT_EQ(ini.readInteger("N", "HexUpper", 1), 255);
  EXPECT_EQ(ini.readInteger("N", "AllBits", 1), -1);
  EXPECT_EQ(ini.readInteger("N", "NegHex", 1), -16);
  EXPECT_EQ(ini.readInteger("N", "Min", 1), INT32_MIN);
  EXPECT_EQ(ini.readInteger("N", "Max", 1), INT32_MAX);
  EXPECT_EQ(ini.readInteger("N", "HexMax", 1), INT32_MAX);
  EXPECT_EQ(ini.readInteger("N", "HexMin", 1), INT32_MIN);
  EXPECT_EQ(ini.readInteger("N", "Spaced", 1), 7);
  EXPECT_EQ(ini.readInteger("N", "Quoted", 1), 8);
  for (const char* key : {"Trail", "Word", "Big", "HexBig", "Bare", "Blank", "Float"}) {
    EXPECT_EQ(ini.readInteger("N", key, 99), 99) << key;
  }
  EXPECT_TRUE(ini.readBool("N", "Two", false));
  EXPECT_FALSE(ini.readBool("N", "Zero", true));
  EXPECT_TRUE(ini.readBool("N", "Dec", false));
  EXPECT_TRUE(ini.readBool("N", "Word", true));
  EXPECT_FALSE(ini.readBool("N", "Word", false));
}

TEST_F(IniFileTest, Int64Parsing) {
  EXPECT_EQ(parseIniInt64("5000000000"), 5000000000LL);
  EXPECT_EQ(parseIniInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(parseIniInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(parseIniInt64("9223372036854775808"), std::nullopt);
  EXPECT_EQ(parseIniInt64("1 000"), std::nullopt);
}

TEST_F(IniFileTest, FloatsFollowTheLocale) {
  IniFile ini(make("[P]\nComma=17,28\nPoint=17.28\nJunk=abc\nEmpty=\n"));
  const platform::Locale point{};
  const platform::Locale comma{"%d.%m.%Y", "%H:%M:%S", ','};
  EXPECT_EQ(ini.readFloat("P", "Comma", 1, comma), 17.28);
  EXPECT_EQ(ini.readFloat("P", "Comma", 1, point), 1);
  EXPECT_EQ(ini.readFloat("P", "Point", 1, point), 17.28);
  EXPECT_EQ(ini.readFloat("P", "Point", 1, comma), 1);
  EXPECT_EQ(ini.readFloat("P", "Junk", 1, point), 1);
  EXPECT_EQ(ini.readFloat("P", "Empty", 1, point), 1);
}

TEST_F(IniFileTest, WritesCreateFolderFileSectionAndKey) {
  IniFile ini(tmp_ / "new/sub/Kelva.ini");
  ini.writeString("Paragraph Setup ", "ParagraphLeftIndent", "17");
  ini.writeBool("Options", "ScanSubDir", false);
  ini.writeInteger("Options", "FileMinSize", 5000000000LL);
  ini.writeFloat("Page Setup Portrait", "TopMargin", 56.7,
                 platform::Locale{"%d.%m.%Y", "%H:%M:%S", ','});
  EXPECT_EQ(ReadFile(ini.path()),
            "[Paragraph Setup ]\nParagraphLeftIndent=17\n\n"
            "[Options]\nScanSubDir=0\nFileMinSize=5000000000\n\n"
            "[Page Setup Portrait]\nTopMargin=56,7\n");
}

TEST_F(IniFileTest, ReplacementInPlaceKeepsEverythingElse) {
  const std::string original =
      "; Kelvara settings\n"
      "[Options]\n"
      "SCANSUBDIR = 1\n"
      "Debug=0\n"
      "\n"
      "[User Data]\n"
      "UserName=Ann\n"
      "\n"
      "[Options]\n"
      "Debug=5\n";
  IniFile ini(make(original));
  ini.writeString("options", "scansubdir", "0");
  ini.writeString("User Data", "UserInitials", "AB");
  EXPECT_EQ(ReadFile(ini.path()),
            "; Kelvara settings\n"
            "[Options]\n"
            "SCANSUBDIR=0\n"
            "Debug=0\n"
            "\n"
            "[User Data]\n"
            "UserName=Ann\n"
            "UserInitials=AB\n"
            "\n"
            "[Options]\n"
            "Debug=5\n");
  EXPECT_EQ(ini.read("Options", "Debug"), "0");  // the first section of a name is the one used
}

TEST_F(IniFileTest, WindowsLineEndsAndByteOrderMarkSurviveARewrite) {
  IniFile ini(make("\xEF\xBB\xBF[Options]\r\nDebug=1\r\nLineTerm=0\r\n"));
  EXPECT_EQ(ini.read("Options", "Debug"), "1");
  ini.writeString("Options", "Debug", "0");
  EXPECT_EQ(ReadFile(ini.path()), "\xEF\xBB\xBF[Options]\r\nDebug=0\r\nLineTerm=0\r\n");
}

TEST_F(IniFileTest, ALineBreakInAValueCannotAddKeys) {
  IniFile ini(make("[User Data]\n"));
  ini.writeString("User Data", "UserAddress", "Main St 1\n[Options]\nDebug=1\r\nx");
  EXPECT_EQ(ini.read("User Data", "UserAddress"), "Main St 1 [Options] Debug=1  x");
  EXPECT_EQ(ini.read("Options", "Debug"), std::nullopt);
}

TEST_F(IniFileTest, RewriteIsAtomicAndKeepsPermissions) {
  const std::string path = make("[Options]\nDebug=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  IniFile ini(path);
  ini.writeString("Options", "Debug", "0");
  ini.writeString("Options", "ShowHint", "1");
  int entries = 0;
  for (const auto& e : fs::directory_iterator(tmp_.path())) {
    EXPECT_EQ(e.path().filename(), "Kelva.ini");  // no temporary file left behind
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(IniFileTest, ASymbolicLinkStaysALinkAndItsTargetIsUpdated) {
  const std::string target = tmp_.write("real/Kelva.ini", "[Options]\nDebug=1\n");
  const std::string link = tmp_ / "Kelva.ini";
  fs::create_symlink(target, link);
  IniFile ini(link);
  ini.writeString("Options", "Debug", "0");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "[Options]\nDebug=0\n");
}

TEST_F(IniFileTest, WritesThroughAnotherObjectAreSeenAtOnce) {
  const std::string path = make("[Options]\nDebug=1\n");
  const IniFile reader(path);
  EXPECT_EQ(reader.readInteger("Options", "Debug", 7), 1);
  IniFile(path).writeString("Options", "Debug", "0");
  EXPECT_EQ(reader.readInteger("Options", "Debug", 7), 0);
}

TEST_F(IniFileTest, ARefusedWriteThrowsWithTheFileName) {
  tmp_.write("blocker", "a file where a folder should be");
  IniFile ini(tmp_ / "blocker/Kelva.ini");
  try {
    ini.writeString("Options", "Debug", "1");
    FAIL() << "no error";
  } catch (const IniWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + ini.path());
  }
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotOverwritten) {
  // A folder in place of the file: it cannot be read, so a rewrite would lose its keys.
  const std::string path = tmp_.mkdir("Kelva.ini");
  tmp_.write("Kelva.ini/keep", "x");
  IniFile ini(path);
  EXPECT_EQ(ini.read("Options", "Debug"), std::nullopt);
  EXPECT_THROW(ini.writeString("Options", "Debug", "1"), IniWriteError);
  EXPECT_TRUE(fs::exists(tmp_ / "Kelva.ini/keep"));
}

TEST_F(IniFileTest, RemoveDeletesTheFile) {
  IniFile ini(make("[Options]\nDebug=1\n"));
  EXPECT_TRUE(ini.remove());
  EXPECT_FALSE(fs::exists(ini.path()));
  EXPECT_TRUE(ini.remove());  // nothing left to delete is no failure
  EXPECT_EQ(ini.readInteger("Options", "Debug", 5), 5);
}

TEST_F(IniFileTest, ConfigFileLivesInTheConfigurationFolder) {
  const char* old = std::getenv("KELVARA_CONFIG_DIR");
  const std::string saved = old ? old : "";
  setenv("KELVARA_CONFIG_DIR", "/some/where", 1);
  EXPECT_EQ(configFilePath(), "/some/where/Kelva.ini");
  if (old) {
    setenv("KELVARA_CONFIG_DIR", saved.c_str(), 1);
  } else {
    unsetenv("KELVARA_CONFIG_DIR");
  }
}

}  // namespace
}  // namespace kelvara::config
