#include "platform/DosAttributes.h"

#include <sys/xattr.h>

#include <array>
#include <cstring>

namespace kelvara::platform {
namespace {

constexpr uint32_t kValidAttrib = 0x01;
constexpr uint32_t kValidCreateTime = 0x10;

// Little-endian NDR reader over the blob; every read checks the bounds.
class NdrReader {
 public:
  NdrReader(std::string_view data, size_t offset) : data_(data), offset_(offset) {}

  void align(size_t n) { offset_ = (offset_ + n - 1) / n * n; }
  size_t remaining() const { return offset_ <= data_.size() ? data_.size() - offset_ : 0; }

  std::optional<uint64_t> read(size_t bytes) {
    if (remaining() < bytes) {
      return std::nullopt;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i) {
      value |= uint64_t(static_cast<unsigned char>(data_[offset_ + i])) << (8 * i);
    }
    offset_ += bytes;
    return value;
  }
  bool skip(size_t bytes) {
    if (remaining() < bytes) {
      return false;
    }
    offset_ += bytes;
    return true;
  }

 private:
  std::string_view data_;
  size_t offset_;
};

std::optional<uint32_t> parseHexText(std::string_view text) {
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  }
  uint64_t value = 0;
  size_t digits = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else {
      break;
    }
    value = value * 16 + uint64_t(d);
    if (value > 0xFFFFFFFFu) {
      return std::nullopt;
    }
    ++digits;
  }
  if (digits == 0) {
    return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

void putLe(std::string& out, uint64_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

void setCreateTime(DosAttrib& result, uint64_t nttime) {
  // A zero time means "not stored".
  if (nttime != 0) {
    result.createTime = static_cast<FileTime>(nttime);
  }
}

}  // namespace

std::optional<DosAttrib> parseDosAttrib(std::string_view blob) {
  if (blob.empty()) {
    return std::nullopt;
  }
  const size_t nul = blob.find('\0');
  if (nul == std::string_view::npos || nul + 1 >= blob.size()) {
    // Only the hex string: the form Samba 3 wrote.
    const auto attributes = parseHexText(blob.substr(0, nul));
    if (!attributes) {
      return std::nullopt;
    }
    return DosAttrib{attributes, std::nullopt};
  }

  NdrReader in(blob, nul + 1);
  in.align(2);
  const auto version = in.read(2);
  in.align(2);
  const auto level = in.read(2);
  if (!version || !level || *version != *level) {
    return std::nullopt;
  }
  in.align(4);

  DosAttrib result;
  switch (*version) {
    case 1: {  // attrib, ea_size, size, alloc_size, create_time, change_time
      const auto attrib = in.read(4);
      if (!attrib || !in.skip(4 + 8 + 8)) {
        return std::nullopt;
      }
      const auto create = in.read(8);
      if (!create || !in.skip(8)) {
        return std::nullopt;
      }
      result.attributes = static_cast<uint32_t>(*attrib);
      setCreateTime(result, *create);
      return result;
    }
    case 2: {  // flags, attrib, ... (its times are not trusted, as Samba does)
      if (!in.skip(4)) {
        return std::nullopt;
      }
      const auto attrib = in.read(4);
      if (!attrib || !in.skip(4 + 8 + 8 + 8 + 8 + 8)) {
        return std::nullopt;
      }
      result.attributes = static_cast<uint32_t>(*attrib);
      return result;
    }
    case 3:
    case 4:
    case 5: {
      const auto flags = in.read(4);
      const auto attrib = in.read(4);
      if (!flags || !attrib) {
        return std::nullopt;
      }
      std::optional<uint64_t> create;
      if (*version == 3) {  // ea_size, size, alloc_size, create_time, change_time
        if (!in.skip(4 + 8 + 8)) {
          return std::nullopt;
        }
        create = in.read(8);
        if (!in.skip(8)) {
          return std::nullopt;
        }
      } else if (*version == 4) {  // itime, create_time
        if (!in.skip(8)) {
          return std::nullopt;
        }
        create = in.read(8);
      } else {  // create_time
        create = in.read(8);
      }
      if (!create) {
        return std::nullopt;
      }
      if (*flags & kValidAttrib) {
        result.attributes = static_cast<uint32_t>(*attrib);
      }
      if (*flags & kValidCreateTime) {
        setCreateTime(result, *create);
      }
      return result;
    }
    default:
      return std::nullopt;
  }
}

std::string encodeDosAttribV5(uint32_t attributes, std::optional<FileTime> createTime) {
  std::string out;
  out.push_back('\0');  // the empty compatibility hex string
  out.push_back('\0');  // alignment
  putLe(out, 5, 2);     // version
  putLe(out, 5, 2);     // union level
  putLe(out, 0, 2);     // alignment
  putLe(out, kValidAttrib | (createTime ? kValidCreateTime : 0), 4);
  putLe(out, attributes, 4);
  putLe(out, createTime ? static_cast<uint64_t>(*createTime) : 0, 8);
  return out;
}

std::optional<DosAttrib> readDosAttrib(const std::string& path) {
  std::array<char, 1024> buffer{};
  const ssize_t n = ::getxattr(path.c_str(), kDosAttribXattr, buffer.data(), buffer.size());
  if (n > 0) {
    if (auto parsed = parseDosAttrib(std::string_view(buffer.data(), size_t(n)))) {
      return parsed;
    }
  }
  uint32_t ntfs = 0;
  if (::getxattr(path.c_str(), kNtfsAttribXattr, &ntfs, sizeof ntfs) == ssize_t(sizeof ntfs)) {
    return DosAttrib{ntfs, std::nullopt};
  }
  return std::nullopt;
}

}  // namespace kelvara::platform
