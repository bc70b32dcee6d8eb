#include "run/OwnOutputs.h"

#include <gtest/gtest.h>

namespace kelvara::run {
namespace {

TEST(OwnOutputs, OnlyAProperSubfolderOfTheInputIsANestedOutputTree) {
  EXPECT_TRUE(OutputTreeInsideInput({"/a/in/", "/a/in/out/", ""}));
  EXPECT_FALSE(OutputTreeInsideInput({"/a/in/", "/a/in/", ""}));
  EXPECT_FALSE(OutputTreeInsideInput({"/a/in/", "/a/", ""}));
  EXPECT_FALSE(OutputTreeInsideInput({"/a/in/", "/a/out/", ""}));
  // A sibling whose name starts like the input is not inside it.
  EXPECT_FALSE(OutputTreeInsideInput({"/a/in/", "/a/inner/", ""}));

  const FolderLayout nested{"/a/in/", "/a/in/out/", "/a/in/out/Log/"};
  EXPECT_TRUE(InsideNestedOutputTree(nested, "/a/in/out/"));
  EXPECT_TRUE(InsideNestedOutputTree(nested, "/a/in/out/x/"));
  EXPECT_FALSE(InsideNestedOutputTree(nested, "/a/in/"));
  EXPECT_FALSE(InsideNestedOutputTree(nested, "/a/in/outline/"));
}

TEST(OwnOutputs, RunLogsAndIndexAreRecognisedOnlyInTheLogFolder) {
  const FolderLayout same{"/a/", "/a/", "/a/Log/"};
  for (const char* name :
       {"ConvLog.txt", "ErrorLog.txt", "WarnsLog.txt", "SkipsLog.txt", "ConvLog_000.txt",
        "SkipsLog_999.txt", "ErrorLog_1000.txt", "Index.html"}) {
    EXPECT_TRUE(IsOwnOutput(same, "/a/Log/", name)) << name;
    EXPECT_FALSE(IsOwnOutput(same, "/a/", name)) << name;
    EXPECT_FALSE(IsOwnOutput(same, "/a/Log/sub/", name)) << name;
  }
  for (const char* name : {"notes.doc", "ConvLog.doc", "convlog.txt", "ConvLog_.txt",
                           "ConvLog_12a.txt", "ConvLog.txt.bak", "MyConvLog.txt", "index.html"}) {
    EXPECT_FALSE(IsOwnOutput(same, "/a/Log/", name)) << name;
  }
}

}  // namespace
}  // namespace kelvara::run
