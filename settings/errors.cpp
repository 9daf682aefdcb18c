#include "settings/errors.h"

namespace pendra {

std::string WithFullStop(std::string text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
    text += '.';
  return text;
}

void ThrowListIndexError(int index) {
  throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace pendra
