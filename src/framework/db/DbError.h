// The errors of the data-access layer. Their messages are the texts shown to people by the
// application's default error handler.
#pragma once

#include <stdexcept>

namespace db {

// A failure of a connection, dataset, field or filter; dataset errors carry the dataset's
// name and a colon before the message ("ADOQuery2: Field 'x' not found").
class EDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A variant that cannot become the type asked for.
class EVariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened or read ("Cannot open file "x". No such file or directory").
class EFOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that is not a number where a number is needed ("'x' is not a valid integer value").
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace db
