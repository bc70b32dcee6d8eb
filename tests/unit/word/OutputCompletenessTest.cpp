#include "word/OutputCompleteness.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/ScratchDir.h"

namespace kelvara::word {
namespace {

using testing::ScratchDir;

void le(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

// A ZIP package of stored entries; zip64 writes the large end record and its locator as
// writers do for big packages.
std::string zipPackage(const std::vector<std::pair<std::string, std::string>>& entries,
                       const std::string& comment = "", bool zip64 = false) {
  std::string zip, directory;
  for (const auto& [name, data] : entries) {
    const size_t offset = zip.size();
    le(zip, 0x04034b50, 4);
    le(zip, 10, 2);
    le(zip, 0, 2);
    le(zip, 0, 2);
    le(zip, 0, 4);
    le(zip, 0, 4);  // the checksum is not looked at
    le(zip, data.size(), 4);
    le(zip, data.size(), 4);
    le(zip, name.size(), 2);
    le(zip, 0, 2);
    zip += name + data;
    le(directory, 0x02014b50, 4);
    le(directory, 20, 2);
    le(directory, 10, 2);
    le(directory, 0, 6);
    le(directory, 0, 4);
    le(directory, 0, 4);
    le(directory, data.size(), 4);
    le(directory, data.size(), 4);
    le(directory, name.size(), 2);
    le(directory, 0, 12);
    le(directory, offset, 4);
    directory += name;
  }
  const size_t directoryOffset = zip.size();
  zip += directory;
  if (zip64) {
    const size_t record = zip.size();
    le(zip, 0x06064b50, 4);
    le(zip, 44, 8);
    le(zip, 45, 2);
    le(zip, 45, 2);
    le(zip, 0, 8);
    le(zip, entries.size(), 8);
    le(zip, entries.size(), 8);
    le(zip, directory.size(), 8);
    le(zip, directoryOffset, 8);
    le(zip, 0x07064b50, 4);
    le(zip, 0, 4);
    le(zip, record, 8);
    le(zip, 1, 4);
  }
  le(zip, 0x06054b50, 4);
  le(zip, 0, 4);
  le(zip, zip64 ? 0xFFFF : entries.size(), 2);
  le(zip, zip64 ? 0xFFFF : entries.size(), 2);
  le(zip, zip64 ? 0xFFFFFFFF : directory.size(), 4);
  le(zip, zip64 ? 0xFFFFFFFF : directoryOffset, 4);
  le(zip, comment.size(), 2);
  return zip + comment;
}

// A compound file of 512-byte sectors: sector 0 the allocation table, sector 1 the directory,
// then a stream of dataSectors sectors.
std::string compoundFile(int dataSectors) {
  std::string file("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  file.append(16, '\0');
  le(file, 0x3E, 2);
  le(file, 3, 2);
  le(file, 0xFFFE, 2);
  le(file, 9, 2);
  le(file, 6, 2);
  file.append(10, '\0');
  le(file, 1, 4);  // allocation table sectors
  le(file, 1, 4);  // first directory sector
  le(file, 0, 4);
  le(file, 4096, 4);
  le(file, 0xFFFFFFFE, 4);
  le(file, 0, 4);
  le(file, 0xFFFFFFFE, 4);
  le(file, 0, 4);
  le(file, 0, 4);  // the allocation table is sector 0
  while (file.size() < 512) {
    le(file, 0xFFFFFFFF, 4);
  }
  std::string table;
  le(table, 0xFFFFFFFD, 4);
  le(table, 0xFFFFFFFE, 4);
  for (int i = 0; i < dataSectors; ++i) {
    le(table, i + 1 < dataSectors ? 3 + i : 0xFFFFFFFE, 4);
  }
  while (table.size() < 512) {
    le(table, 0xFFFFFFFF, 4);
  }
  file += table;
  file += std::string(512, 'D');  // directory
  for (int i = 0; i < dataSectors; ++i) {
    file += std::string(512, static_cast<char>('a' + i));
  }
  return file;
}

const std::string kPdf =
    "%PDF-1.6\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<</Type/Catalog>>\nendobj\nxref\n0 1\n"
    "0000000000 65535 f \ntrailer\n<</Size 1/Root 1 0 R>>\nstartxref\n42\n%%EOF\n";
const std::string kRtf = "{\\rtf1\\ansi {\\fonttbl{\\f0 Times;}}\\f0 Hello\\par }\n";
const std::string kHtml =
    "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body><p>Hello</p></body>\n</HTML>\n";
const std::string kXml =
    "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<article><para>Hi</para></article>\n";

class OutputCompletenessTest : public ::testing::Test {
 protected:
  std::optional<std::string> check(const std::string& bytes, OutputKind kind) {
    return findIncompleteness(dir.file("out.bin", bytes), kind);
  }
  // Every cut that loses more than trailing line ends is found, wherever it falls: each byte of
  // a small file, and of larger ones every few bytes and both sides of each 512-byte boundary.
  void expectEveryCutFound(const std::string& whole, OutputKind kind, size_t keepsUpTo) {
    ASSERT_EQ(check(whole, kind), std::nullopt);
    for (size_t cut = 0; cut < keepsUpTo; ++cut) {
      const bool nearBoundary = (cut + 1) % 512 <= 2;
      if (keepsUpTo > 600 && cut % 13 != 0 && !nearBoundary) {
        continue;
      }
      EXPECT_NE(check(whole.substr(0, cut), kind), std::nullopt) << "cut at " << cut;
    }
  }

  ScratchDir dir;
};

TEST_F(OutputCompletenessTest, EachKindFindsEveryCutOfAWholeFile) {
  expectEveryCutFound(kPdf, OutputKind::Pdf, kPdf.size() - 1);
  expectEveryCutFound(kRtf, OutputKind::Rtf, kRtf.size() - 1);
  expectEveryCutFound(kHtml, OutputKind::Html, kHtml.size() - 1);
  expectEveryCutFound(kXml, OutputKind::Xml, kXml.size() - 1);
  const std::string zip = zipPackage({{"mimetype", "application/x"}, {"content.xml", "<a/>"}});
  expectEveryCutFound(zip, OutputKind::ZipPackage, zip.size());
  const std::string compound = compoundFile(3);
  expectEveryCutFound(compound, OutputKind::CompoundFile, compound.size());
}

TEST_F(OutputCompletenessTest, SaysWhatIsMissingInWords) {
  EXPECT_EQ(check("", OutputKind::Pdf), "the file is empty");
  EXPECT_EQ(check("", OutputKind::Text), "the file is empty");
  EXPECT_EQ(check(kPdf.substr(0, 100), OutputKind::Pdf), "the PDF file has no end-of-file marker");
  EXPECT_EQ(check(std::string(4096, '\0'), OutputKind::Pdf),
            "the file does not start as a PDF file");
  const std::string zip = zipPackage({{"a", "b"}});
  EXPECT_EQ(check(zip.substr(0, zip.size() - 1), OutputKind::ZipPackage),
            "the package has no complete central directory");
  EXPECT_EQ(check(compoundFile(2).substr(0, 1536), OutputKind::CompoundFile),
            "the compound file is cut short");
  EXPECT_EQ(check("{\\rtf1 Hello", OutputKind::Rtf), "the RTF text is not closed");
  EXPECT_EQ(check("<html><body>", OutputKind::Html), "the HTML page is not closed");
  EXPECT_EQ(check("<?xml version=\"1.0\"?><a>te", OutputKind::Xml),
            "the XML document is not closed");
  EXPECT_EQ(findIncompleteness(dir / "missing.pdf", OutputKind::Pdf),
            "the file cannot be read back");
}

TEST_F(OutputCompletenessTest, WholeFilesOfEveryFormPass) {
  // Line ends after the last mark are part of a whole file.
  EXPECT_EQ(check(kPdf + "\r\n", OutputKind::Pdf), std::nullopt);
  EXPECT_EQ(check("{\\rtf1 x}\r\n\r\n", OutputKind::Rtf), std::nullopt);
  EXPECT_EQ(check("\n<html>x</html>", OutputKind::Html), std::nullopt);
  // A package comment, even one holding the bytes of an end record, is read past.
  EXPECT_EQ(check(zipPackage({{"a", "b"}}, "made here"), OutputKind::ZipPackage), std::nullopt);
  EXPECT_EQ(
      check(zipPackage({{"a", "b"}}, std::string("PK\x05\x06 inside", 13)), OutputKind::ZipPackage),
      std::nullopt);
  EXPECT_EQ(check(zipPackage({}), OutputKind::ZipPackage), std::nullopt);
  EXPECT_EQ(check(zipPackage({{"a", "b"}, {"c", "d"}}, "", true), OutputKind::ZipPackage),
            std::nullopt);
  EXPECT_EQ(check(compoundFile(0), OutputKind::CompoundFile), std::nullopt);
  // Plain text may end anywhere: the empty document's text is one line end.
  EXPECT_EQ(check("\r\n", OutputKind::Text), std::nullopt);
  EXPECT_EQ(check("{\\rtf1 not closed", OutputKind::Text), std::nullopt);
}

TEST_F(OutputCompletenessTest, RtfGroupsAreFollowedPastEscapesAndBinaryData) {
  EXPECT_EQ(check("{\\rtf1 a \\{ b \\} c \\\\}", OutputKind::Rtf), std::nullopt);
  EXPECT_EQ(check("{\\rtf1 a \\}", OutputKind::Rtf), "the RTF text is not closed");
  // Four bytes of picture data that look like braces.
  const std::string picture = "{\\rtf1{\\*\\pict\\bin4 {{}}}}";
  EXPECT_EQ(check(picture, OutputKind::Rtf), std::nullopt);
  EXPECT_EQ(check(picture.substr(0, picture.size() - 2), OutputKind::Rtf),
            "the RTF text is not closed");
  EXPECT_EQ(check("{\\rtf1{\\*\\pict\\bin999 }}", OutputKind::Rtf), "the RTF text is not closed");
  EXPECT_EQ(check("{\\rtf1 x} and more", OutputKind::Rtf), "the RTF text goes on after its end");
}

TEST_F(OutputCompletenessTest, XmlEndsWithTheEndTagOfItsRoot) {
  EXPECT_EQ(check("<?xml version=\"1.0\"?>\n<!DOCTYPE a>\n<!-- made -->\n<a/>\n<!-- end -->\n",
                  OutputKind::Xml),
            std::nullopt);
  EXPECT_EQ(check("<office:document a=\"1\"><b/></office:document >", OutputKind::Xml),
            std::nullopt);
  EXPECT_EQ(check("<uof:UOF><x>\xE6\x96\x87</x></uof:UOF>\n", OutputKind::Xml), std::nullopt);
  // A closed inner element is no closed document.
  EXPECT_EQ(check("<article><para>Hi</para>", OutputKind::Xml), "the XML document is not closed");
  EXPECT_EQ(check("<article><para/>", OutputKind::Xml), "the XML document is not closed");
  EXPECT_EQ(check("<a><ab/>", OutputKind::Xml), "the XML document is not closed");
  EXPECT_EQ(check("<?xml version=\"1.0\"?>", OutputKind::Xml), "the XML document is not closed");
}

TEST_F(OutputCompletenessTest, AZip64PackageCutInItsEndRecordsIsFound) {
  const std::string zip = zipPackage({{"a", "b"}}, "", true);
  for (size_t cut = zip.size() - 98; cut < zip.size(); ++cut) {
    EXPECT_NE(check(zip.substr(0, cut), OutputKind::ZipPackage), std::nullopt) << cut;
  }
  std::string wrongOffset = zip;
  wrongOffset[wrongOffset.size() - 22 - 20 + 8] ^= 1;  // the locator points elsewhere
  EXPECT_NE(check(wrongOffset, OutputKind::ZipPackage), std::nullopt);
}

TEST_F(OutputCompletenessTest, AnUnknownWriterIsJudgedByWhatItsFileStartsWith) {
  EXPECT_NE(check(kPdf.substr(0, 60), OutputKind::Any), std::nullopt);
  const std::string zip = zipPackage({{"a", "b"}});
  EXPECT_NE(check(zip.substr(0, 40), OutputKind::Any), std::nullopt);
  EXPECT_NE(check(compoundFile(1).substr(0, 1024), OutputKind::Any), std::nullopt);
  EXPECT_NE(check("{\\rtf1 cut", OutputKind::Any), std::nullopt);
  EXPECT_NE(check("<?xml version=\"1.0\"?><doc>cut", OutputKind::Any), std::nullopt);
  EXPECT_EQ(check(kXml, OutputKind::Any), std::nullopt);
  // Text that merely starts with a tag or a brace is text.
  EXPECT_EQ(check("<b>bold</b> words, then more", OutputKind::Any), std::nullopt);
  EXPECT_EQ(check("{ a note", OutputKind::Any), std::nullopt);
  EXPECT_EQ(check("", OutputKind::Any), "the file is empty");
}

TEST(OutputKindTest, FollowsTheExportFilter) {
  EXPECT_EQ(outputKindOfFilter("writer_pdf_Export"), OutputKind::Pdf);
  EXPECT_EQ(outputKindOfFilter("MS Word 2007 XML"), OutputKind::ZipPackage);
  EXPECT_EQ(outputKindOfFilter("writer8"), OutputKind::ZipPackage);
  EXPECT_EQ(outputKindOfFilter("MS Word 97"), OutputKind::CompoundFile);
  EXPECT_EQ(outputKindOfFilter("MS Word 97 Vorlage"), OutputKind::CompoundFile);
  EXPECT_EQ(outputKindOfFilter("Rich Text Format"), OutputKind::Rtf);
  EXPECT_EQ(outputKindOfFilter("HTML (StarWriter)"), OutputKind::Html);
  EXPECT_EQ(outputKindOfFilter("XHTML Writer File"), OutputKind::Html);
  EXPECT_EQ(outputKindOfFilter("MS Word 2003 XML"), OutputKind::Xml);
  EXPECT_EQ(outputKindOfFilter("Text (encoded)"), OutputKind::Text);
  EXPECT_EQ(outputKindOfFilter("MediaWiki"), OutputKind::Any);
  EXPECT_EQ(outputKindOfFilter("writer_pdf_export"), OutputKind::Any);  // names are exact
}

TEST(FullDiskTest, FreeSpaceBelowTheMarginIsAFullDisk) {
  EXPECT_TRUE(looksFull(0));
  EXPECT_TRUE(looksFull(kFullDiskMargin - 1));
  EXPECT_FALSE(looksFull(kFullDiskMargin));
  EXPECT_FALSE(looksFull(std::nullopt));  // unknown free space proves nothing
  EXPECT_TRUE(isNoRoomError(ENOSPC));
  EXPECT_TRUE(isNoRoomError(EDQUOT));
  EXPECT_FALSE(isNoRoomError(EACCES));
  EXPECT_FALSE(isNoRoomError(0));
  EXPECT_EQ(fullDiskMessage("/srv/out"),
            "Disk full: the output could not be written completely to /srv/out");
  EXPECT_EQ(incompleteOutputMessage("/srv/out", "the file is empty"),
            "The output could not be written completely to /srv/out (the file is empty)");
}

}  // namespace
}  // namespace kelvara::word
