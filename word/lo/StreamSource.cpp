#include "word/lo/StreamSource.h"

namespace kelvara::word::lo {

css::uno::Reference<css::io::XInputStream> byteInputStream(const OfficeConnection& connection,
                                                           const std::string& bytes) {
  const css::uno::Sequence<sal_Int8> data(reinterpret_cast<const sal_Int8*>(bytes.data()),
                                          static_cast<sal_Int32>(bytes.size()));
  const css::uno::Any argument(data);
  const css::uno::Sequence<css::uno::Any> arguments(&argument, 1);
  return css::uno::Reference<css::io::XInputStream>(
      connection.factory()->createInstanceWithArgumentsAndContext(
          "com.sun.star.io.SequenceInputStream", arguments, connection.context()),
      css::uno::UNO_QUERY_THROW);
}

}  // namespace kelvara::word::lo
