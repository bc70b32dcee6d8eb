#include "run/ShardJournal.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>

namespace kelvara::run {
namespace {

constexpr const char* kMagic = "kelvara-shard-record";
constexpr const char* kVersion = "1";
constexpr char kEventSeparator = '\x1e';
constexpr char kArgSeparator = '\x1f';

// Fields of a line are separated by tabs and events by control characters: every one of these
// in a text is written as %XX.
std::string escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '%':
      case '\t':
      case '\n':
      case '\r':
      case kEventSeparator:
      case kArgSeparator: {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const auto u = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[u >> 4];
        out += kHex[u & 15];
        break;
      }
      default:
        out.push_back(c);
    }
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

std::optional<std::string> unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) {
      return std::nullopt;
    }
    const int hi = hexValue(text[i + 1]);
    const int lo = hexValue(text[i + 2]);
    if (hi < 0 || lo < 0) {
      return std::nullopt;
    }
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return out;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t p = text.find(separator); p != std::string_view::npos;
       p = text.find(separator, start)) {
    parts.push_back(text.substr(start, p - start));
    start = p + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::string encodeIndex(const std::vector<IndexEvent>& events) {
  std::string out;
  for (size_t i = 0; i < events.size(); ++i) {
    if (i > 0) {
      out.push_back(kEventSeparator);
    }
    out += std::to_string(static_cast<int>(events[i].kind));
    for (const std::string& arg : events[i].args) {
      out.push_back(kArgSeparator);
      out += escape(arg);
    }
  }
  return out;
}

std::optional<std::vector<IndexEvent>> decodeIndex(std::string_view text) {
  std::vector<IndexEvent> events;
  if (text.empty()) {
    return events;
  }
  for (std::string_view event : split(text, kEventSeparator)) {
    const std::vector<std::string_view> parts = split(event, kArgSeparator);
    if (parts[0].size() != 1 || parts[0][0] < '0' || parts[0][0] > '4') {
      return std::nullopt;
    }
    IndexEvent decoded;
    decoded.kind = static_cast<IndexEvent::Kind>(parts[0][0] - '0');
    for (size_t i = 1; i < parts.size(); ++i) {
      std::optional<std::string> arg = unescape(parts[i]);
      if (!arg) {
        return std::nullopt;
      }
      decoded.args.push_back(std::move(*arg));
    }
    events.push_back(std::move(decoded));
  }
  return events;
}

std::string encodeCounters(const RunCounters& c) {
  return std::to_string(c.FilesAnalyzed) + " " + std::to_string(c.FilesConverted) + " " +
         std::to_string(c.FilesInError) + " " + std::to_string(c.FilesSkipped) + " " +
         std::to_string(c.FilesWithWarnings) + " " + std::to_string(c.DirCount);
}

std::optional<RunCounters> decodeCounters(std::string_view text) {
  const std::vector<std::string_view> parts = split(text, ' ');
  if (parts.size() != 6) {
    return std::nullopt;
  }
  int32_t values[6];
  for (size_t i = 0; i < 6; ++i) {
    const char* end = parts[i].data() + parts[i].size();
    const auto [ptr, ec] = std::from_chars(parts[i].data(), end, values[i]);
    if (parts[i].empty() || ec != std::errc() || ptr != end) {
      return std::nullopt;
    }
  }
  RunCounters c;
  c.FilesAnalyzed = values[0];
  c.FilesConverted = values[1];
  c.FilesInError = values[2];
  c.FilesSkipped = values[3];
  c.FilesWithWarnings = values[4];
  c.DirCount = values[5];
  return c;
}

RunCounters difference(const RunCounters& after, const RunCounters& before) {
  RunCounters d;
  d.DirCount = after.DirCount - before.DirCount;
  d.FilesAnalyzed = after.FilesAnalyzed - before.FilesAnalyzed;
  d.FilesConverted = after.FilesConverted - before.FilesConverted;
  d.FilesInError = after.FilesInError - before.FilesInError;
  d.FilesWithWarnings = after.FilesWithWarnings - before.FilesWithWarnings;
  d.FilesSkipped = after.FilesSkipped - before.FilesSkipped;
  return d;
}

bool validPlace(char c) {
  return c == 'E' || c == 'F' || c == 'D';
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string PlaceLabel(WalkPlace place, const std::string& relativePath) {
  return static_cast<char>(place) + relativePath;
}

std::string WalkPlaces::relative(const std::string& path) const {
  return path.compare(0, root_.size(), root_) == 0 ? path.substr(root_.size()) : path;
}

std::string WalkPlaces::entered(const std::string& folder) {
  open_.push_back(relative(folder));
  return PlaceLabel(WalkPlace::FolderEntered, open_.back());
}

std::string WalkPlaces::file(const std::string& path) const {
  return PlaceLabel(WalkPlace::File, relative(path));
}

std::string WalkPlaces::done() {
  std::string folder;
  if (!open_.empty()) {
    folder = std::move(open_.back());
    open_.pop_back();
  }
  return PlaceLabel(WalkPlace::FolderDone, folder);
}

std::string JournalEntryLine(const JournalEntry& entry) {
  std::string line = "C\t";
  line += static_cast<char>(entry.place);
  line += '\t' + escape(entry.path);
  for (const std::string& text : entry.logText) {
    line += '\t' + escape(text);
  }
  line += '\t' + encodeIndex(entry.index) + '\t' + encodeCounters(entry.delta) + '\n';
  return line;
}

std::unique_ptr<ShardJournal> ShardJournal::Open(const std::string& path,
                                                 const JournalHeader& header, int* error) {
  // The folder lines of an earlier attempt, read before the file is replaced.
  std::vector<JournalEntry> carried;
  if (std::optional<ShardRecord> earlier = ReadShardJournal(readWhole(path))) {
    for (JournalEntry& entry : earlier->entries) {
      if (entry.place == WalkPlace::FolderEntered &&
          !(entry.logText[0].empty() && entry.logText[1].empty())) {
        carried.push_back(std::move(entry));
      }
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) {
      *error = errno;
    }
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);
  std::unique_ptr<ShardJournal> journal(new ShardJournal(file));
  std::string head = std::string(kMagic) + '\t' + kVersion + '\t' +
                     std::to_string(header.shard.index) + '\t' +
                     std::to_string(header.shard.count) + '\t';
  for (bool open : header.logsOpen) {
    head += open ? '1' : '0';
  }
  head += '\t' + escape(header.inpPath) + '\t' + escape(header.outPath) + '\n';
  journal->write(head);
  for (JournalEntry& entry : carried) {
    entry.index.clear();
    entry.delta = RunCounters{};
    journal->write(JournalEntryLine(entry));
  }
  if (journal->failed_) {
    if (error) {
      *error = errno != 0 ? errno : EIO;
    }
    return nullptr;
  }
  return journal;
}

ShardJournal::~ShardJournal() {
  std::fclose(file_);
}

void ShardJournal::write(const std::string& line) {
  errno = 0;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::ferror(file_)) {
    std::clearerr(file_);
    failed_ = true;
  }
}

void ShardJournal::writePreamble() {
  if (preambleWritten_) {
    return;
  }
  preambleWritten_ = true;
  std::string line = "P";
  for (std::string& text : pending_) {
    line += '\t' + escape(text);
    text.clear();
  }
  write(line + '\n');
}

void ShardJournal::logBytes(LogKind kind, std::string_view bytes) {
  if (finished_) {
    return;
  }
  std::string& target =
      current_ ? current_->logText[static_cast<size_t>(kind)] : pending_[static_cast<size_t>(kind)];
  target.append(bytes);
}

void ShardJournal::indexEvent(const IndexEvent& event) {
  if (finished_) {
    return;
  }
  (current_ ? current_->index : pendingIndex_).push_back(event);
}

void ShardJournal::begin(const std::string& label, const RunCounters& now) {
  if (finished_ || label.empty() || !validPlace(label[0])) {
    return;
  }
  writePreamble();
  current_.emplace();
  current_->place = static_cast<WalkPlace>(label[0]);
  current_->path = label.substr(1);
  // What was written between two commits belongs to the next one.
  for (size_t k = 0; k < pending_.size(); ++k) {
    current_->logText[k] = std::move(pending_[k]);
    pending_[k].clear();
  }
  current_->index = std::move(pendingIndex_);
  pendingIndex_.clear();
  before_ = now;
}

void ShardJournal::end(const RunCounters& now) {
  if (!current_) {
    return;
  }
  current_->delta = difference(now, before_);
  write(JournalEntryLine(*current_));
  current_.reset();
}

void ShardJournal::finish(bool complete) {
  if (finished_) {
    return;
  }
  writePreamble();
  write(std::string("Z\t") + (complete ? "1" : "0") + '\n');
  finished_ = true;
}

std::optional<ShardRecord> ReadShardJournal(std::string_view text) {
  ShardRecord record;
  bool headerRead = false;
  size_t start = 0;
  // Only whole lines: the last one of a killed shard may be cut.
  for (size_t end = text.find('\n'); end != std::string_view::npos;
       start = end + 1, end = text.find('\n', start)) {
    const std::vector<std::string_view> f = split(text.substr(start, end - start), '\t');
    if (!headerRead) {
      if (f.size() != 7 || f[0] != kMagic || f[1] != kVersion || f[4].size() != 4) {
        return std::nullopt;
      }
      const std::optional<ShardSpec> shard =
          ShardOfFolderName(std::string(f[2]) + "-of-" + std::string(f[3]));
      std::optional<std::string> inp = unescape(f[5]);
      std::optional<std::string> out = unescape(f[6]);
      if (!shard || !inp || !out) {
        return std::nullopt;
      }
      record.header.shard = *shard;
      for (size_t k = 0; k < 4; ++k) {
        record.header.logsOpen[k] = f[4][k] == '1';
      }
      record.header.inpPath = std::move(*inp);
      record.header.outPath = std::move(*out);
      headerRead = true;
      continue;
    }
    if (f[0] == "P" && f.size() == 5) {
      for (size_t k = 0; k < 4; ++k) {
        std::optional<std::string> t = unescape(f[k + 1]);
        if (!t) {
          return record;
        }
        record.preamble[k] = std::move(*t);
      }
    } else if (f[0] == "C" && f.size() == 9 && f[1].size() == 1 && validPlace(f[1][0])) {
      JournalEntry entry;
      entry.place = static_cast<WalkPlace>(f[1][0]);
      std::optional<std::string> path = unescape(f[2]);
      std::optional<std::vector<IndexEvent>> index = decodeIndex(f[7]);
      std::optional<RunCounters> delta = decodeCounters(f[8]);
      if (!path || !index || !delta) {
        return record;
      }
      entry.path = std::move(*path);
      for (size_t k = 0; k < 4; ++k) {
        std::optional<std::string> t = unescape(f[k + 3]);
        if (!t) {
          return record;
        }
        entry.logText[k] = std::move(*t);
      }
      entry.index = std::move(*index);
      entry.delta = *delta;
      record.entries.push_back(std::move(entry));
    } else if (f[0] == "Z" && f.size() == 2) {
      record.ended = true;
      record.complete = f[1] == "1";
    } else {
      // Something this version does not know: what came before stands, nothing after.
      return record;
    }
  }
  if (!headerRead) {
    return std::nullopt;
  }
  return record;
}

}  // namespace kelvara::run
