#pragma once

#include <com/sun/star/container/XNameAccess.hpp>

#include <string>
#include <vector>

#include "word/lo/OfficeConnection.h"
#include "word/lo/PackageRules.h"

namespace kelvara::word::lo {

// A ZIP package read through the office's own ZIP reader (which also inflates).
class OfficeZipPackage : public PackageSource {
 public:
  // Throws a UNO exception when the file is no readable ZIP.
  OfficeZipPackage(const OfficeConnection& connection, const std::string& path);

  std::vector<std::string> partNames() const override;
  std::optional<std::string> read(const std::string& partName, size_t maxBytes) const override;

 private:
  css::uno::Reference<css::container::XNameAccess> zip_;
};

}  // namespace kelvara::word::lo
