#include "run/HtmlIndex.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/ScratchDir.h"

namespace kelvara::run {
namespace {

using testing::readFile;
using testing::ScratchDir;

const std::string kHeader =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
    "<TITLE>Index</TITLE>\r\n</head>\r\n<body bgcolor=\"#cccccc\">\r\n";

std::string folderItem(const std::string& dir) {
  return "<ul><li><a href=\"" + dir + "\">" + dir + "</a>";
}

TEST(HtmlIndexTest, FolderTreeNestsAsInTheRunExample) {
  HtmlIndex index;
  index.Start();
  index.FolderEntered("/out/", true);
  index.FileBegins();
  index.FileConverted("/in/a.doc", "a.doc", "/out/a.rtf", "a.rtf");
  index.FolderEntered("/out/S/", true);
  index.FileBegins();
  index.FileFailed("/in/S/b.doc", "b.doc", "b.rtf");
  index.FolderDone();
  index.FolderDone();
  EXPECT_EQ(
      index.items(),
      (std::vector<std::string>{
          kHeader, folderItem("/out/"), "<ul>",
          "<li><a href=\"/in/a.doc\">a.doc</a> -> <a href=\"/out/a.rtf\">a.rtf</a></li>", "</ul>",
          folderItem("/out/S/"), "<ul>", "<li><a href=\"/in/S/b.doc\">b.doc</a> -> b.rtf</li>",
          "</ul></li></ul>", "</li></ul>"}));
  EXPECT_EQ(index.level(), 1);
}

TEST(HtmlIndexTest, FolderWithoutDocuments) {
  HtmlIndex index;
  index.Start();
  index.FolderEntered("/out/empty/", true);
  index.FolderDone();
  EXPECT_EQ(index.items(),
            (std::vector<std::string>{kHeader, folderItem("/out/empty/"), "</ul></li></ul>"}));
}

TEST(HtmlIndexTest, FolderInsideTheOutputTreeGetsTheSameItem) {
  HtmlIndex index;
  index.Start();
  index.FolderEntered("/data/", false);
  EXPECT_EQ(index.items().back(), folderItem("/data/"));
}

TEST(HtmlIndexTest, SingleFileRunsContinueTheNestingOfTheLastRun) {
  ScratchDir dir;
  HtmlIndex index;
  // A first single-file run starts at level 0 and opens a list.
  index.Start();
  index.FileBegins();
  index.FileConverted("/in/a.doc", "a.doc", "/out/a.rtf", "a.rtf");
  ASSERT_TRUE(index.End(dir / "Index.html"));
  EXPECT_EQ(readFile(dir / "Index.html"),
            kHeader + "\r\n<ul>\r\n" +
                "<li><a href=\"/in/a.doc\">a.doc</a> -> <a href=\"/out/a.rtf\">a.rtf</a></li>\r\n" +
                "</body></html>\r\n");
  EXPECT_TRUE(index.items().empty());

  // After a folder run the level is 1: the next single-file run opens no list.
  index.Start();
  index.FolderEntered("/out/", true);
  index.FolderDone();
  index.End(dir / "Index.html");
  index.Start();
  EXPECT_EQ(index.level(), 1);
  index.FileBegins();
  index.FileFailed("/in/b.doc", "b.doc", "b.rtf");
  ASSERT_TRUE(index.End(dir / "Index.html"));
  EXPECT_EQ(readFile(dir / "Index.html"),
            kHeader + "\r\n" + "<li><a href=\"/in/b.doc\">b.doc</a> -> b.rtf</li>\r\n" +
                "</body></html>\r\n");
}

TEST(HtmlIndexTest, MarkupInNamesIsEscaped) {
  HtmlIndex index;
  index.Start();
  index.FolderEntered("/out/<b>&\"x\"/", true);
  index.FileBegins();
  index.FileConverted("/in/a\"><script>x</script>.doc", "a\"><script>x</script>.doc",
                      "/out/R&D.rtf", "R&D.rtf");
  index.FileFailed("/in/<i>.doc", "<i>.doc", "<i>.rtf");
  EXPECT_EQ(index.items()[1],
            "<ul><li><a href=\"/out/&lt;b&gt;&amp;&quot;x&quot;/\">"
            "/out/&lt;b&gt;&amp;&quot;x&quot;/</a>");
  EXPECT_EQ(index.items()[3],
            "<li><a href=\"/in/a&quot;&gt;&lt;script&gt;x&lt;/script&gt;.doc\">"
            "a&quot;&gt;&lt;script&gt;x&lt;/script&gt;.doc</a> -> "
            "<a href=\"/out/R&amp;D.rtf\">R&amp;D.rtf</a></li>");
  EXPECT_EQ(index.items()[4],
            "<li><a href=\"/in/&lt;i&gt;.doc\">&lt;i&gt;.doc</a> -> "
            "&lt;i&gt;.rtf</li>");
  // Other characters stay as the file system gives them.
  EXPECT_EQ(EscapeHtml("/in/ä b#1?.doc"), "/in/ä b#1?.doc");
}

TEST(HtmlIndexTest, LinkTargetsKeepUrlSyntaxCharactersFromBreakingThem) {
  HtmlIndex index;
  index.Start();
  index.FolderEntered("/out/sub #1/", true);
  index.FileBegins();
  index.FileConverted("/in/sub #1/100% done?.doc", "100% done?.doc", "/out/sub #1/100% done?.rtf",
                      "100% done?.rtf");
  EXPECT_EQ(index.items()[1], "<ul><li><a href=\"/out/sub %231/\">/out/sub #1/</a>");
  EXPECT_EQ(index.items()[3],
            "<li><a href=\"/in/sub %231/100%25 done%3F.doc\">100% done?.doc</a> -> "
            "<a href=\"/out/sub %231/100%25 done%3F.rtf\">100% done?.rtf</a></li>");
}

TEST(HtmlIndexTest, ASecondRunReplacesTheFile) {
  ScratchDir dir;
  HtmlIndex index;
  index.Start();
  index.FolderEntered("/out/", true);
  index.FileBegins();
  index.FileConverted("/in/a.doc", "a.doc", "/out/a.rtf", "a.rtf");
  index.FolderDone();
  ASSERT_TRUE(index.End(dir / "Index.html"));
  const std::string first = readFile(dir / "Index.html");
  EXPECT_NE(first.find("a.rtf"), std::string::npos);

  index.Start();
  index.FolderEntered("/out/", true);
  index.FolderDone();
  ASSERT_TRUE(index.End(dir / "Index.html"));
  EXPECT_EQ(readFile(dir / "Index.html"), kHeader + "\r\n" + folderItem("/out/") + "\r\n" +
                                              "</ul></li></ul>\r\n</body></html>\r\n");
}

TEST(HtmlIndexTest, UnwritableIndexReportsFailure) {
  ScratchDir dir;
  HtmlIndex index;
  index.Start();
  errno = 0;
  EXPECT_FALSE(index.End(dir / "missing/Index.html"));
  EXPECT_EQ(errno, ENOENT);
}

}  // namespace
}  // namespace kelvara::run
