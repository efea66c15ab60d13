#include "platform/core/windows_command_line.h"

namespace ss {
namespace {

bool is_blank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Moves past the blanks and empty quote pairs before the next argument.
void skip_separators(std::string_view text, size_t& at) {
  for (;;) {
    while (at < text.size() && is_blank(text[at])) ++at;
    if (text.substr(at, 2) != "\"\"") return;
    at += 2;
  }
}

// The argument that begins at `at` (after skip_separators), with its quotes removed.
std::string next_argument(std::string_view text, size_t& at) {
  std::string argument;
  bool quoted = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') {
      quoted = !quoted;
    } else if (is_blank(c) && !quoted) {
      break;
    } else {
      argument += c;
    }
  }
  return argument;
}

}  // namespace

std::vector<std::string> arguments_after_program(std::string_view command_line) {
  std::vector<std::string> arguments;
  size_t at = 0;
  skip_separators(command_line, at);
  next_argument(command_line, at);  // the program's own name
  for (;;) {
    skip_separators(command_line, at);
    if (at >= command_line.size()) break;
    arguments.push_back(next_argument(command_line, at));
  }
  return arguments;
}

}  // namespace ss
