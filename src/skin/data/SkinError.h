// The error every skin-data operation raises on bad input (a damaged package, a malformed
// value in the options text, a skin that cannot be found or written).
#pragma once

#include <stdexcept>
#include <string>

namespace skin::data {

class ESkinError : public std::runtime_error {
 public:
  explicit ESkinError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace skin::data
