#include "support/ZipEntry.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>

namespace kelvara::testing {
namespace {

uint32_t le(const std::string& data, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(data[at + i]);
  }
  return value;
}

std::optional<std::string> inflateRaw(const std::string& packed, size_t expected) {
  std::string out(expected, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
    return std::nullopt;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  if (rc != Z_STREAM_END || stream.total_out != expected) {
    return std::nullopt;
  }
  return out;
}

}  // namespace

std::optional<std::string> ReadZipEntry(const std::string& zipPath, const std::string& entryName) {
  std::ifstream in(zipPath, std::ios::binary);
  const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The end-of-central-directory record: within the last 64 KiB + 22 bytes.
  if (zip.size() < 22) {
    return std::nullopt;
  }
  size_t end = std::string::npos;
  for (size_t at = zip.size() - 22;; --at) {
    if (le(zip, at, 4) == 0x06054b50) {
      end = at;
      break;
    }
    if (at == 0 || zip.size() - at > 65557) {
      return std::nullopt;
    }
  }
  const uint32_t entries = le(zip, end + 10, 2);
  size_t at = le(zip, end + 16, 4);
  for (uint32_t i = 0; i < entries && at + 46 <= zip.size(); ++i) {
    if (le(zip, at, 4) != 0x02014b50) {
      return std::nullopt;
    }
    const uint32_t method = le(zip, at + 10, 2);
    const uint32_t packedSize = le(zip, at + 20, 4);
    const uint32_t size = le(zip, at + 24, 4);
    const uint32_t nameLength = le(zip, at + 28, 2);
    const uint32_t extraLength = le(zip, at + 30, 2);
    const uint32_t commentLength = le(zip, at + 32, 2);
    const uint32_t local = le(zip, at + 42, 4);
    if (zip.compare(at + 46, nameLength, entryName) == 0 && nameLength == entryName.size()) {
      if (local + 30 > zip.size() || le(zip, local, 4) != 0x04034b50) {
        return std::nullopt;
      }
      const size_t data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
      if (data + packedSize > zip.size()) {
        return std::nullopt;
      }
      const std::string packed = zip.substr(data, packedSize);
      if (method == 0) {
        return packed;
      }
      return method == 8 ? inflateRaw(packed, size) : std::nullopt;
    }
    at += 46 + nameLength + extraLength + commentLength;
  }
  return std::nullopt;
}

}  // namespace kelvara::testing
