// slidemake: the authoring tool that makes, inspects and unpacks savers.
#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "commands.h"

namespace {

constexpr const char* kUsage =
    "usage: slidemake COMMAND ...\n"
    "  build MANIFEST.json -o SAVER [--target win32|win64|linux] [--runtime FILE]\n"
    "                                                  make a saver from a manifest; the runtime\n"
    "                                                  of the target (win32 unless named) comes\n"
    "                                                  from beside slidemake or the build tree\n"
    "  inspect SAVER [--json]                          show a saver's trailer, settings and items\n"
    "  extract SAVER -d DIR                            write out every picture, music file and movie\n"
    "  record SAVER -o OUT.gif|DIR [--seconds S] [--size WxH]\n"
    "                                                  run the show headless and save what it showed\n"
    "  frame --style N --progress P --old A --new B -o OUT.png [--step S] [--size WxH]\n"
    "                                                  one frame of a transition\n"
    "  transition --style N --old A --new B -o OUT.gif|DIR [--step S] [--size WxH]\n"
    "                                                  every frame of one transition\n"
    "  catalogue -o STYLES.png [--progress P] [--size WxH]\n"
    "                                                  a contact sheet of all 127 styles\n"
#ifdef SLIDEMAKE_HAVE_STUDIO
    "  studio [FOLDER] [--port N] [--no-open]          make a saver in the browser: serves a page\n"
    "                                                  for FOLDER and its slidesaver.json\n"
#endif
    ;

}  // namespace

int main(int argc, char** argv) {
  const std::map<std::string, int (*)(const slidemake::Args&)> commands = {
      {"build", slidemake::run_build},
      {"inspect", slidemake::run_inspect},
      {"extract", slidemake::run_extract},
      {"record", slidemake::run_record},
      {"frame", slidemake::run_frame},
      {"transition", slidemake::run_transition},
      {"catalogue", slidemake::run_catalogue},
#ifdef SLIDEMAKE_HAVE_STUDIO
      {"studio", slidemake::run_studio},
#endif
  };
  if (argc < 2 || !commands.count(argv[1])) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    return commands.at(argv[1])(slidemake::Args(argv + 2, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "slidemake %s: %s\n", argv[1], e.what());
    return 1;
  }
}
