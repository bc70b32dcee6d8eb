#include "word/lo/InteractionHandler.h"

#include <com/sun/star/document/BrokenPackageRequest.hpp>
#include <com/sun/star/document/FilterOptionsRequest.hpp>
#include <com/sun/star/document/NoSuchFilterRequest.hpp>
#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionApprove.hpp>
#include <com/sun/star/task/XInteractionDisapprove.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/ucb/IOErrorCode.hpp>
#include <com/sun/star/ucb/InteractiveIOException.hpp>

#include "word/lo/OfficeErrors.h"

namespace kelvara::word::lo {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;

// The office's error code for an I/O exception, so that every failure reads the same way.
uint32_t codeForIoError(css::ucb::IOErrorCode code) {
  switch (code) {
    case css::ucb::IOErrorCode_ACCESS_DENIED:
    case css::ucb::IOErrorCode_LOCKING_VIOLATION:
    case css::ucb::IOErrorCode_WRITE_PROTECTED:
      return officeerror::kAccessDenied;
    case css::ucb::IOErrorCode_NOT_EXISTING:
    case css::ucb::IOErrorCode_NOT_EXISTING_PATH:
    case css::ucb::IOErrorCode_NO_FILE:
      return officeerror::kNotExists;
    case css::ucb::IOErrorCode_CANT_READ:
      return officeerror::kCantRead;
    case css::ucb::IOErrorCode_WRONG_FORMAT:
    case css::ucb::IOErrorCode_WRONG_VERSION:
      return officeerror::kWrongFormat;
    case css::ucb::IOErrorCode_ABORT:
      return officeerror::kAbort;
    default:
      return officeerror::kGeneral;
  }
}

template <class Continuation>
bool selectContinuation(const Reference<css::task::XInteractionRequest>& request) {
  for (const auto& c : request->getContinuations()) {
    Reference<Continuation> wanted(c, UNO_QUERY);
    if (wanted.is()) {
      wanted->select();
      return true;
    }
  }
  return false;
}

}  // namespace

void InteractionHandler::record(uint32_t code, const std::string& words) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The first error is the cause; later ones are its consequences.
  if (!record_.any) {
    record_.errorCode = code;
    record_.words = words;
    record_.any = true;
  }
}

InteractionRecord InteractionHandler::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  InteractionRecord r = record_;
  record_ = {};
  return r;
}

void SAL_CALL InteractionHandler::handle(const Reference<css::task::XInteractionRequest>& request) {
  if (!request.is()) {
    return;
  }
  const css::uno::Any what = request->getRequest();
  css::task::ErrorCodeRequest errorCode;
  css::ucb::InteractiveIOException ioError;
  css::task::PasswordRequest password;
  css::document::BrokenPackageRequest broken;
  css::document::FilterOptionsRequest filterOptions;
  css::document::NoSuchFilterRequest noFilter;

  if (what >>= errorCode) {
    const auto code = static_cast<uint32_t>(errorCode.ErrCode);
    if (code & 0x80000000u) {
      // A warning about a document that did load (lost formatting, disabled macros): go on.
      if (selectContinuation<css::task::XInteractionApprove>(request)) {
        return;
      }
    } else {
      record(code, describeOfficeError(code));
    }
  } else if (what >>= password) {
    record(officeerror::kWrongPassword, "Wrong password / encrypted document");
  } else if (what >>= broken) {
    record(officeerror::kBrokenPackage, "File is corrupt");
    // Repairing a broken package asks more questions and may hang on a damaged file.
    if (selectContinuation<css::task::XInteractionDisapprove>(request)) {
      return;
    }
  } else if (what >>= ioError) {
    const uint32_t code = codeForIoError(ioError.Code);
    record(code, describeOfficeError(code));
  } else if (what >>= filterOptions) {
    record(officeerror::kWrongFormat, "File format error (the import asks for options)");
  } else if (what >>= noFilter) {
    record(officeerror::kWrongFormat, "File format not recognised");
  } else {
    css::uno::Exception other;
    if (what >>= other) {
      record(officeerror::kGeneral, "General input/output error: " + toUtf8(other.Message));
    } else {
      record(officeerror::kGeneral, "General input/output error");
    }
  }
  if (!selectContinuation<css::task::XInteractionAbort>(request)) {
    selectContinuation<css::task::XInteractionDisapprove>(request);
  }
}

}  // namespace kelvara::word::lo
