#pragma once
// The saver's command line: only the first two arguments matter, and both are taken in upper
// case. The first selects the mode by its first one or two characters, so lower-case switches
// and switches with suffixes ("/c:1234") are understood; the second carries a window handle.
#include <string>
#include <string_view>
#include <vector>

#include "show/saver_mode.h"

namespace ss {

struct SaverArguments {
  std::string first;   // empty when absent
  std::string second;  // empty when absent
};

// args holds the arguments after the program name.
SaverArguments upper_case_arguments(const std::vector<std::string>& args);

// "/A", "-A" or "A..." change the password, "/P", "-P" or "P..." preview, "/C", "-C", "C..."
// or nothing configure; everything else (the show switch "/S" included) shows. Expects the
// upper-cased first argument.
SaverMode select_mode(std::string_view first);

}  // namespace ss
