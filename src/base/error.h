#pragma once
// Errors are exceptions carrying the message text that the user or the caller sees.
#include <stdexcept>
#include <string>

namespace ss {

class SaverError : public std::runtime_error {
 public:
  explicit SaverError(const std::string& message) : std::runtime_error(message) {}
};

// The reader's texts, kept in one place so callers and tests agree on the wording.
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kIndexOutOfBounds = "Index is out of bounds";

// Inside a catch block: the message of the error being handled, "Unknown error" for one that
// carries none.
std::string current_exception_text();

}  // namespace ss
