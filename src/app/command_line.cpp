#include "app/command_line.h"

#include "base/text.h"

namespace ss {
namespace {

// "/X", "-X" or a first character X.
bool is_switch(std::string_view argument, char letter) {
  if (argument.starts_with(letter)) return true;
  return argument.size() >= 2 && (argument[0] == '/' || argument[0] == '-') &&
         argument[1] == letter;
}

}  // namespace

SaverArguments upper_case_arguments(const std::vector<std::string>& args) {
  SaverArguments result;
  if (!args.empty()) result.first = ascii_upper(args[0]);
  if (args.size() > 1) result.second = ascii_upper(args[1]);
  return result;
}

SaverMode select_mode(std::string_view first) {
  if (is_switch(first, 'A')) return smChangePassword;
  if (is_switch(first, 'P')) return smPreview;
  if (first.empty() || is_switch(first, 'C')) return smConfigure;
  return smShow;
}

}  // namespace ss
