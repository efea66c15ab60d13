#include "base/error.h"

#include <exception>

namespace ss {

std::string current_exception_text() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace ss
