#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "metadata/MetadataStep.h"
#include "support/FakeMetadataPlatform.h"
#include "support/ScratchDir.h"

namespace kelvara::metadata {

// A source and a target file (and folder) in a scratch tree whose metadata lives in the fake
// platform; every line the step writes is kept, marked by the log it went to.
class MetadataFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    source = tmp.file("in/a.doc");
    target = tmp.file("out/a.rtf");
    sourceDir = tmp.dir("in/sub");
    targetDir = tmp.dir("out/sub");
    for (const std::string* path : {&source, &target, &sourceDir, &targetDir}) {
      fake.at(*path);
    }
    fake.at(sourceDir).attributes = 0x10;
    fake.at(targetDir).attributes = 0x10;
    settings.OutPath = tmp.path() + "out/";
  }

  MetadataStep step() {
    MetadataReport report;
    report.logLine = [this](std::string_view t) { lines.push_back("log: " + std::string(t)); };
    report.dateLine = [this](std::string_view t) { lines.push_back("date: " + std::string(t)); };
    report.errorLine = [this](std::string_view t) { lines.push_back("error: " + std::string(t)); };
    report.message = [this](const std::string& t) { lines.push_back("box: " + t); };
    report.indicator = [this](Indicator which, LedColor color, bool off) {
      lamps.push_back(std::to_string(int(which)) + "/" + std::to_string(int(color)) +
                      (off ? " off" : ""));
    };
    return MetadataStep(settings, fake, locale, report);
  }

  kelvara::testing::ScratchDir tmp;
  kelvara::testing::FakeMetadataPlatform fake;
  config::Settings settings;
  platform::Locale locale;
  std::string source, target, sourceDir, targetDir;
  std::vector<std::string> lines;
  std::vector<std::string> lamps;
};

}  // namespace kelvara::metadata
