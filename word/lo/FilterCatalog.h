#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "word/lo/OfficeConnection.h"

namespace kelvara::word::lo {

// One Writer filter as the office's filter configuration describes it.
struct FilterInfo {
  std::string name;
  std::string uiName;
  std::string type;
  int32_t flags = 0;
  std::vector<std::string> extensions;
};

namespace filterflag {
constexpr int32_t kImport = 0x1;
constexpr int32_t kExport = 0x2;
constexpr int32_t kTemplate = 0x4;
constexpr int32_t kInternal = 0x8;
constexpr int32_t kNotInFileDialog = 0x1000;
constexpr int32_t kNotInstalled = 0x20000;
}  // namespace filterflag

// Every filter of the office that reads or writes text documents, with its type's extensions.
std::vector<FilterInfo> readWriterFilters(const OfficeConnection& connection);

}  // namespace kelvara::word::lo
