#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/Process.h"
#include "word/OfficeOwners.h"
#include "word/lo/FileUrl.h"
#include "word/lo/LibreOfficeEngine.h"

namespace kelvara::word::testing {

// A folder of its own below the system's temporary folder, removed again at the end.
class TempDir {
 public:
  explicit TempDir(const std::string& label) {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kelvara-" + label + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string corpus(const std::string& relative) {
  return std::string(KELVARA_CORPUS_DIR) + "/" + relative;
}

// Why a test that reads the shared corpus cannot run here (a clone without the corpus beside
// it), naming the missing folder; empty when the folder is there.
inline std::string missingCorpus(const std::string& folder = "") {
  const std::string path = folder.empty() ? std::string(KELVARA_CORPUS_DIR) : corpus(folder);
  std::error_code ec;
  return std::filesystem::is_directory(path, ec)
             ? std::string()
             : "needs the shared test corpus: the folder " + path + " is missing";
}

// Skips the running test, saying which folder is missing, when the shared corpus (or the given
// folder of it) is not there. Use at the start of a test body: CORPUS_OR_SKIP();
#define CORPUS_OR_SKIP(...)                                                              \
  if (const std::string missing_ = ::kelvara::word::testing::missingCorpus(__VA_ARGS__); \
      !missing_.empty())                                                                 \
  GTEST_SKIP() << missing_

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A ZIP file with stored (uncompressed) entries, in the given order: enough to build small
// packages (OpenOffice 1.0 documents) that the tests need and the corpus lacks.
inline std::string storedZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  auto crc32 = [](const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
      crc ^= c;
      for (int k = 0; k < 8; ++k) {
        crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
      }
    }
    return ~crc;
  };
  auto le = [](std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
  };
  std::string zip;
  std::string directory;
  for (const auto& [name, data] : entries) {
    const uint32_t offset = static_cast<uint32_t>(zip.size());
    const uint32_t crc = crc32(data);
    const auto size = static_cast<uint32_t>(data.size());
    le(zip, 0x04034b50, 4);
    le(zip, 10, 2);  // version needed
    le(zip, 0, 2);   // flags
    le(zip, 0, 2);   // stored
    le(zip, 0, 4);   // time and date
    le(zip, crc, 4);
    le(zip, size, 4);
    le(zip, size, 4);
    le(zip, static_cast<uint32_t>(name.size()), 2);
    le(zip, 0, 2);
    zip += name + data;
    le(directory, 0x02014b50, 4);
    le(directory, 20, 2);
    le(directory, 10, 2);
    le(directory, 0, 2);
    le(directory, 0, 2);
    le(directory, 0, 4);
    le(directory, crc, 4);
    le(directory, size, 4);
    le(directory, size, 4);
    le(directory, static_cast<uint32_t>(name.size()), 2);
    le(directory, 0, 2);  // extra
    le(directory, 0, 2);  // comment
    le(directory, 0, 2);  // disk
    le(directory, 0, 2);  // internal attributes
    le(directory, 0, 4);  // external attributes
    le(directory, offset, 4);
    directory += name;
  }
  const auto directoryOffset = static_cast<uint32_t>(zip.size());
  zip += directory;
  le(zip, 0x06054b50, 4);
  le(zip, 0, 2);
  le(zip, 0, 2);
  le(zip, static_cast<uint32_t>(entries.size()), 2);
  le(zip, static_cast<uint32_t>(entries.size()), 2);
  le(zip, static_cast<uint32_t>(directory.size()), 4);
  le(zip, directoryOffset, 4);
  le(zip, 0, 2);
  return zip;
}

// Engine options for a test: its own state folder and instance, a short start-up limit.
inline LibreOfficeOptions testOptions(const TempDir& state, const std::string& instance) {
  LibreOfficeOptions options;
  options.stateDir = state.str();
  options.instanceName = "kelvara-test-" + instance;
  options.connectTimeoutSeconds = 60;
  return options;
}

// A test suite with an office of its own, started once for all its tests: the suite's
// SetUpTestSuite() calls startOffice(); the office ends after the suite's last test.
template <class Suite>
class OfficeSuite : public ::testing::Test {
 protected:
  static void startOffice(const std::string& name, int docTimeoutSeconds = 120) {
    state_ = new TempDir(name + "-state");
    LibreOfficeOptions options = testOptions(*state_, name);
    options.docTimeoutSeconds = docTimeoutSeconds;
    engine_ = makeLibreOfficeEngine(options).release();
    engine_->connect();
  }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
    delete state_;
    state_ = nullptr;
  }

  static inline TempDir* state_ = nullptr;
  static inline DocumentEngine* engine_ = nullptr;
};

// The pid of the office running on a profile below the state folder (the top of its tree).
inline int officePid(const std::string& stateDir) {
  const auto offices = ourOffices(platform::listProcesses(), stateDir);
  return offices.empty() ? 0 : offices.front();
}

}  // namespace kelvara::word::testing
