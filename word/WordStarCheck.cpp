#include "word/WordStarCheck.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "platform/SystemError.h"

namespace kelvara::word {
namespace {

constexpr unsigned char kEscape = 27;
constexpr unsigned char kSequenceMark = 0x1D;
constexpr unsigned char kNotASequence = 28;  // after ESC, 0x1D 0x1C is text
constexpr unsigned char kEndOfText = 0x1A;
constexpr int kTrailingBytes = 11;  // searched for the closing mark of an odd sequence
constexpr size_t kMaxDumpChars = 256;

class ScanError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file's bytes, with a look ahead so that the scan knows when it has read the last one.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* file) : file_(file) {}

  bool atEnd() {
    if (next_ < size_) {
      return false;
    }
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    next_ = 0;
    if (size_ == 0 && std::ferror(file_)) {
      throw ScanError(platform::systemErrorText(errno));
    }
    return size_ == 0;
  }
  // Only after atEnd() said false.
  unsigned char read() { return buffer_[next_++]; }

 private:
  std::FILE* file_;
  std::array<unsigned char, 65536> buffer_{};
  size_t next_ = 0;
  size_t size_ = 0;
};

std::string hex4(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%04llX", static_cast<unsigned long long>(value));
  return text;
}

std::string hexPairs(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 0x0F];
  }
  return text.substr(0, kMaxDumpChars);
}

void warnBadSequence(const std::string& path, const WordStarCheckNames& names, uint64_t pos,
                     const std::string& sequence, PendingLog& log) {
  const uint64_t start = pos - sequence.size();
  log.warning(std::string(68, '_'));
  log.warning("Input Path: " + names.curInputDir + " - Output Path: " + names.curOutputDir);
  log.warning("Conversion " + names.docName + " -> " + names.outName);
  log.warning("Warning input file with error at position: " + hex4(start) + " - " + hex4(pos) +
              " dec " + std::to_string(start) + " - " + std::to_string(pos));
  log.warning(path + " " + hex4(pos) + ": " + hexPairs(sequence));
  log.warning("");
}

// Counts into issues as it goes, so that a failure half-way keeps what was found before it.
void scan(ByteReader& in, const std::string& path, const WordStarCheckNames& names, PendingLog& log,
          int32_t& issues) {
  uint64_t pos = 0;
  bool escape = false;
  while (!in.atEnd()) {
    unsigned char b = in.read();
    ++pos;
    if (in.atEnd()) {
      b = 0;  // the file's last byte never starts anything
    }
    if (b == kEscape) {
      escape = true;
      continue;
    }
    if (b != kSequenceMark) {
      escape = false;
      continue;
    }

    std::string sequence(1, static_cast<char>(kSequenceMark));
    int marks = 1;                               // 0x1D bytes of the opening and the body
    int lastMark = 0;                            // body index of the last 0x1D met
    const unsigned char lengthByte = in.read();  // present: the mark was not the last byte
    ++pos;
    sequence += static_cast<char>(lengthByte);
    if (in.atEnd()) {
      break;
    }
    const int length = static_cast<signed char>(lengthByte);
    if (escape && lengthByte == kNotASequence) {
      escape = false;
      continue;
    }
    if (length == 0) {
      log.warning("Error: null counter byte: " + path + " at " + std::to_string(pos));
    }
    sequence += static_cast<char>(in.read());
    ++pos;
    if (in.atEnd()) {
      break;
    }
    for (int j = 1; j <= length && !in.atEnd(); ++j) {
      const unsigned char body = in.read();
      ++pos;
      sequence += static_cast<char>(body);
      if (body == kSequenceMark) {
        ++marks;
        lastMark = j;
      }
    }
    if (marks % 2 == 1 && static_cast<unsigned char>(sequence.back()) != kSequenceMark) {
      for (int k = 0; k < kTrailingBytes && !in.atEnd(); ++k) {
        const unsigned char more = in.read();
        ++pos;
        sequence += static_cast<char>(more);
        if (more == kSequenceMark) {
          break;
        }
      }
    }
    const auto marksInSequence =
        std::count(sequence.begin(), sequence.end(), static_cast<char>(kSequenceMark));
    const bool bad = marksInSequence >= 2 &&
                     static_cast<unsigned char>(sequence.back()) != kEndOfText &&
                     (length > lastMark || static_cast<int64_t>(sequence.size()) != length + 3);
    if (bad) {
      ++issues;
      warnBadSequence(path, names, pos, sequence, log);
    }
  }
}

}  // namespace

int32_t CheckWordStarFile(const std::string& path, const WordStarCheckNames& names,
                          PendingLog& log) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    log.main("ERROR -- File not found:  " + path);
    return 0;
  }
  ByteReader in(file);
  int32_t issues = 0;
  try {
    scan(in, path, names, log, issues);
    std::fclose(file);
  } catch (const ScanError& e) {
    std::fclose(file);
    log.error("PreProcessing error on file " + path);
    log.main("PreProcessing error on file " + path);
    log.error(e.what());
    log.main(e.what());
    log.progress(e.what());
    log.stateHint(e.what());
    ++issues;
  }
  return issues;
}

}  // namespace kelvara::word
