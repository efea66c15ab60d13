#pragma once
// Parsing a sub-command's options: every sub-command has --help, and a mistake is an error that
// names the option and shows the usage.
#include <CLI/CLI.hpp>
#include <string>

#include "commands.h"

namespace slidemake {

// Parses `args` into the options of `app`. Returns false when the user asked for --help, which
// has then been printed; throws std::runtime_error with the usage for anything wrong.
bool parse_command(CLI::App& app, const Args& args);

}  // namespace slidemake
