// slidemake: the authoring tool that makes, inspects and unpacks savers.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const slidemake::Args&);
  const char* summary;
};

// Each command parses its own options and has its own --help.
const std::vector<Command> kCommands = {
    {"build", slidemake::run_build, "make a saver from a manifest or a folder of pictures"},
    {"inspect", slidemake::run_inspect, "show a saver's trailer, settings and items"},
    {"extract", slidemake::run_extract,
     "write out a saver's files and a manifest that rebuilds it"},
    {"record", slidemake::run_record,
     "run the show headless and save it as GIF, WebP or PNG frames"},
    {"frame", slidemake::run_frame, "one frame of a transition"},
    {"transition", slidemake::run_transition, "every frame of one transition"},
    {"catalogue", slidemake::run_catalogue, "a contact sheet of all 127 styles"},
#ifdef SLIDEMAKE_HAVE_STUDIO
    {"studio", slidemake::run_studio, "make a saver in the browser, from a folder of photos"},
#endif
};

void print_usage(std::FILE* to) {
  std::fputs("usage: slidemake COMMAND [OPTIONS]   (slidemake COMMAND --help for its options)\n",
             to);
  for (const Command& c : kCommands) std::fprintf(to, "  %-12s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = argc >= 2 ? argv[1] : "";
  if (name == "--help" || name == "-h" || name == "help") {
    print_usage(stdout);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    try {
      return c.run(slidemake::Args(argv + 2, argv + argc));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "slidemake %s: %s\n", c.name, e.what());
      return 1;
    }
  }
  print_usage(stderr);
  return 2;
}
