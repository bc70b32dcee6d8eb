#include "platform/AppendFile.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "support/ScratchDir.h"

namespace kelvara::platform {
namespace {

using kelvara::testing::ScratchDir;

TEST(AppendFileTest, CreatesTheFileAndKeepsWhatWasThere) {
  ScratchDir dir;
  {
    AppendFile file(dir / "times.tsv");
    ASSERT_TRUE(file.isOpen());
    EXPECT_TRUE(file.append("one\n"));
  }
  AppendFile again(dir / "times.tsv");
  EXPECT_TRUE(again.append("two\n"));
  EXPECT_EQ(testing::readFile(dir / "times.tsv"), "one\ntwo\n");

  AppendFile nowhere(dir / "missing/times.tsv");
  EXPECT_FALSE(nowhere.isOpen());
  EXPECT_FALSE(nowhere.append("lost\n"));
}

TEST(AppendFileTest, WritersSharingAFileNeverMixTheirLines) {
  ScratchDir dir;
  const std::string path = dir / "shared.tsv";
  constexpr int kWriters = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&path, w] {
      AppendFile file(path);  // each its own descriptor, as each office has
      const std::string body(300, static_cast<char>('a' + w));
      for (int i = 0; i < kLines; ++i) {
        file.append(std::to_string(w) + "\t" + std::to_string(i) + "\t" + body + "\n");
      }
    });
  }
  for (auto& writer : writers) {
    writer.join();
  }
  std::istringstream lines(testing::readFile(path));
  std::set<std::string> seen;
  std::string line;
  while (std::getline(lines, line)) {
    const auto first = line.find('\t');
    const auto second = line.find('\t', first + 1);
    ASSERT_NE(second, std::string::npos) << line;
    const int w = std::stoi(line.substr(0, first));
    EXPECT_EQ(line.substr(second + 1), std::string(300, static_cast<char>('a' + w)));
    seen.insert(line.substr(0, second));
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kWriters * kLines));
}

}  // namespace
}  // namespace kelvara::platform
