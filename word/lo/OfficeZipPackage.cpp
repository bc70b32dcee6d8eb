#include "word/lo/OfficeZipPackage.h"

#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/packages/zip/ZipFileAccess.hpp>

#include "word/lo/FileUrl.h"

namespace kelvara::word::lo {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

OfficeZipPackage::OfficeZipPackage(const OfficeConnection& connection, const std::string& path)
    : zip_(css::packages::zip::ZipFileAccess::createWithURL(connection.context(),
                                                            toOU(fileUrlFromPath(path))),
           UNO_QUERY_THROW) {}

std::vector<std::string> OfficeZipPackage::partNames() const {
  std::vector<std::string> names;
  for (const auto& name : zip_->getElementNames()) {
    names.push_back(toUtf8(name));
  }
  return names;
}

std::optional<std::string> OfficeZipPackage::read(const std::string& partName,
                                                  size_t maxBytes) const {
  const OUString name = toOU(partName);
  if (!zip_->hasByName(name)) {
    return std::nullopt;
  }
  Reference<css::io::XInputStream> stream(zip_->getByName(name), UNO_QUERY_THROW);
  std::string data;
  while (data.size() < maxBytes) {
    css::uno::Sequence<sal_Int8> chunk;
    const sal_Int32 wanted =
        static_cast<sal_Int32>(std::min<size_t>(maxBytes - data.size(), 1 << 20));
    const sal_Int32 got = stream->readBytes(chunk, wanted);
    if (got <= 0) {
      break;
    }
    data.append(reinterpret_cast<const char*>(chunk.getConstArray()), static_cast<size_t>(got));
    if (got < wanted) {
      break;
    }
  }
  stream->closeInput();
  return data;
}

}  // namespace kelvara::word::lo
