// The framework's errors: an exception carrying a message meant for people. The application's
// default error handler shows that message in a message box.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace fw {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::u16string& message);
  // The message as people read it.
  const std::u16string& Message() const { return FMessage; }

 private:
  std::u16string FMessage;
};

// The message of the innermost error of a nest (std::throw_with_nested), as people read it.
std::u16string InnermostMessage(const std::exception& e);

}  // namespace fw
