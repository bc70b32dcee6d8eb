#pragma once

#include <com/sun/star/io/XInputStream.hpp>

#include <string>

#include "word/lo/OfficeConnection.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// The bytes as a stream the office reads a document from ("InputStream" of a load).
css::uno::Reference<css::io::XInputStream> byteInputStream(const OfficeConnection& connection,
                                                           const std::string& bytes);

}  // namespace kelvara::word::lo
