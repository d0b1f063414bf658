// The error every graphics operation raises on bad input (a damaged picture, an absurd size).
#pragma once

#include <stdexcept>
#include <string>

namespace gfx {

class GraphicsError : public std::runtime_error {
 public:
  explicit GraphicsError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace gfx
