#pragma once
// Errors that end the current action and reach the general error handler.
// Their texts are UTF-8, as the boxes show them.
#include <stdexcept>
#include <string>

namespace pendra {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text shown by the general error handler: a full stop is added when the
// last character sorts after '.' (compared as an unsigned 8-bit character).
std::string WithFullStop(std::string text);

// "List index out of bounds (%d)".
[[noreturn]] void ThrowListIndexError(int index);

}  // namespace pendra
