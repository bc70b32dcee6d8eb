#include "word/RunProgram.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/Process.h"
#include "support/ProgramScript.h"
#include "support/ScratchDir.h"

namespace kelvara::word {
namespace {

using testing::programScript;
using testing::readFile;
using testing::ScratchDir;

std::vector<std::string> errorLines(const PendingLog& log) {
  std::vector<std::string> lines;
  for (const PendingLog::Line& line : log.lines()) {
    EXPECT_EQ(line.target, PendingLog::Target::Error);
    lines.push_back(line.text);
  }
  return lines;
}

TEST(RunProgramTest, ExitCodesAndTheReasonOfAFailure) {
  ScratchDir tmp;
  PendingLog log;
  EXPECT_EQ(RunProgram({programScript(tmp, "ok", "exit 0"), {}, "", 0, ""}, {}, log), 0);
  EXPECT_TRUE(log.empty());

  const std::string failing = programScript(tmp, "failing", "echo 'cannot read x' >&2; exit 3");
  EXPECT_EQ(RunProgram({failing, {}, "", 0, tmp.path()}, {}, log), 3);
  // A bare name is found in PATH.
  EXPECT_EQ(RunProgram({"sh", {"-c", "exit 4"}, "", 0, ""}, {}, log), 4);
  EXPECT_EQ(errorLines(log), (std::vector<std::string>{
                                 "Program " + failing + " ended with exit code 3: cannot read x",
                                 "Program sh ended with exit code 4"}));
  // The copy of the error output is gone with the call.
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path())) {
    EXPECT_EQ(entry.path().filename().string().rfind("stderr-", 0), std::string::npos);
  }
}

TEST(RunProgramTest, AProgramThatCannotStartGivesMinusOne) {
  ScratchDir tmp;
  const std::string plain = tmp.file("not-executable", "#!/bin/sh\nexit 0\n");
  const std::string noInterpreter = tmp.file("no-interpreter", "exit 0\n");
  ::chmod(noInterpreter.c_str(), 0755);
  PendingLog log;
  EXPECT_EQ(RunProgram({tmp / "missing", {}, "", 0, ""}, {}, log), -1);
  EXPECT_EQ(RunProgram({"", {}, "", 0, ""}, {}, log), -1);
  EXPECT_EQ(RunProgram({noInterpreter, {}, "", 0, ""}, {}, log), -1);
  const std::vector<std::string> lines = errorLines(log);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Cannot start " + tmp / "missing" + ": No such file or directory");
  EXPECT_EQ(lines[2], "Cannot start " + noInterpreter + ": Exec format error");
  if (::geteuid() != 0) {  // root may run anything
    EXPECT_EQ(RunProgram({plain, {}, "", 0, ""}, {}, log), -1);
  }
}

TEST(RunProgramTest, ArgumentsReachTheProgramWholeAndItRunsInItsOwnFolder) {
  ScratchDir tmp;
  const std::string program =
      programScript(tmp, "bin dir/echo args", "pwd; for a in \"$@\"; do echo \"[$a]\"; done");
  const std::string output = tmp.file("out.txt", "an older and much longer text\n");
  PendingLog log;
  const std::vector<std::string> args = {"in=" + tmp.path() + "Brief an Ä.ws", "a  b", "*", "",
                                         "$HOME;`x`"};
  ASSERT_EQ(RunProgram({program, args, output, 0, ""}, {}, log), 0);
  EXPECT_EQ(readFile(output), tmp.path() + "bin dir\n[in=" + tmp.path() +
                                  "Brief an Ä.ws]\n[a  b]\n[*]\n[]\n[$HOME;`x`]\n");
}

TEST(RunProgramTest, WaitsInStepsAndEndsAProgramThatTakesTooLong) {
  ScratchDir tmp;
  const std::string pidFile = tmp / "pid";
  const std::string hanging =
      programScript(tmp, "hang", "echo $$ > '" + pidFile + "'; sleep 60; exit 0");
  int checkpoints = 0;
  PendingLog log;
  EXPECT_EQ(RunProgram(
                {hanging, {}, "", 1, ""}, [&] { ++checkpoints; }, log),
            -1);
  EXPECT_GE(checkpoints, 3);
  EXPECT_EQ(errorLines(log), (std::vector<std::string>{"Program " + hanging +
                                                       " did not end within 1 s and was ended"}));
  EXPECT_FALSE(platform::isProcessAlive(std::stoi(readFile(pidFile))));
}

TEST(RunProgramTest, TimeAtAPausedCheckpointIsNotTheProgramsTime) {
  ScratchDir tmp;
  bool paused = false;
  PendingLog log;
  const std::string slow = programScript(tmp, "slow", "sleep 1.5; exit 0");
  EXPECT_EQ(RunProgram(
                {slow, {}, "", 1, ""},
                [&] {
                  if (!paused) {
                    paused = true;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
                  }
                },
                log),
            0);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace kelvara::word
