#include "command_line.h"

#include <cstdio>
#include <stdexcept>

namespace slidemake {

bool parse_command(CLI::App& app, const Args& args) {
  app.get_formatter()->column_width(30);
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return false;
  } catch (const CLI::ParseError& e) {
    throw std::runtime_error(std::string(e.what()) + "\n" + app.help());
  }
  return true;
}

}  // namespace slidemake
