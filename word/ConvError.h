#pragma once

#include <stdexcept>
#include <string>

namespace kelvara::word {

// A failure inside one document's conversion; the message goes to the logs as it stands.
class EConvError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kelvara::word
