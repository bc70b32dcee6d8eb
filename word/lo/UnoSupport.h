#pragma once

// Conversions between our strings and UNO's, shared by the UNO-facing files of the engine.

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <rtl/ustring.hxx>

#include <string>
#include <vector>

namespace kelvara::word::lo {

namespace css = ::com::sun::star;
using ::rtl::OString;
using ::rtl::OUString;

inline OUString toOU(const std::string& utf8) {
  return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}

inline std::string toUtf8(const OUString& text) {
  const OString bytes = OUStringToOString(text, RTL_TEXTENCODING_UTF8);
  return std::string(bytes.getStr(), static_cast<size_t>(bytes.getLength()));
}

inline std::u32string toU32(const OUString& text) {
  std::u32string out;
  out.reserve(static_cast<size_t>(text.getLength()));
  for (sal_Int32 i = 0; i < text.getLength();) {
    out.push_back(static_cast<char32_t>(text.iterateCodePoints(&i)));
  }
  return out;
}

inline css::beans::PropertyValue property(const char* name, const css::uno::Any& value) {
  css::beans::PropertyValue p;
  p.Name = OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

inline css::uno::Sequence<css::beans::PropertyValue> toSequence(
    const std::vector<css::beans::PropertyValue>& values) {
  return css::uno::Sequence<css::beans::PropertyValue>(values.data(),
                                                       static_cast<sal_Int32>(values.size()));
}

// The value of a named entry in a property sequence, or an empty Any.
inline css::uno::Any findProperty(const css::uno::Sequence<css::beans::PropertyValue>& values,
                                  const char* name) {
  for (const auto& p : values) {
    if (p.Name.equalsAscii(name)) {
      return p.Value;
    }
  }
  return {};
}

}  // namespace kelvara::word::lo
