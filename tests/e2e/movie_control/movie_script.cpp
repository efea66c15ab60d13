#include "movie_script.h"

#include <fstream>
#include <sstream>

namespace movie_double {

MovieScript read_movie_script(const std::string& path) {
  MovieScript script;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string key;
    if (!(words >> key)) continue;
    if (key == "frames") {
      words >> script.frames;
    } else if (key == "rate") {
      words >> script.rate;
      if (script.rate <= 0) script.rate = 1;
    } else if (key == "end") {
      std::string end;
      words >> end;
      script.end = end == "loop"      ? MovieEnd::kLoop
                   : end == "overrun" ? MovieEnd::kOverrun
                                      : MovieEnd::kStop;
    } else if (key == "colour") {
      int r = 0, g = 0, b = 0;
      words >> r >> g >> b;
      script.colour = RGB(r, g, b);
    } else if (key == "fscommand") {
      words >> script.command_frame >> script.command;
      std::getline(words >> std::ws, script.args);
    }
  }
  return script;
}

}  // namespace movie_double
