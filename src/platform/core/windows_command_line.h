#pragma once
// The saver's arguments out of the one command-line text Windows gives a program, split the way
// the runtime's framework always split it: blanks (any character of code 32 or less) separate
// arguments; a double quote starts or ends a quoted part, which may hold blanks, and is itself
// dropped; backslashes are ordinary characters, so "C:\Savers\" stays a folder; an argument
// that is only an empty pair of quotes is skipped. Portable so that it can be tested anywhere.
#include <string>
#include <string_view>
#include <vector>

namespace ss {

// The arguments after the program name, which is the first argument of the text.
std::vector<std::string> arguments_after_program(std::string_view command_line);

}  // namespace ss
