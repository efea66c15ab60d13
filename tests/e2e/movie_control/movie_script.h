#pragma once
// A "movie" for the double is a small text file, one setting a line ('#' starts a comment):
//   frames 8            how many frames the movie has (0: a movie that never loads)
//   rate 4              frames per second
//   end stop            at the last frame: stop there (stop), start again (loop), or report
//                       one past the last frame, as a control counting from 1 would (overrun)
//   colour 32 96 160    the background the control paints
//   fscommand 3 quit a  at frame 3, send the command "quit" with the arguments "a"
// A file that cannot be read is a movie of 0 frames.
#include <windows.h>

#include <cstdint>
#include <string>

namespace movie_double {

enum class MovieEnd { kStop, kLoop, kOverrun };

struct MovieScript {
  int32_t frames = 0;
  int32_t rate = 10;
  MovieEnd end = MovieEnd::kStop;
  COLORREF colour = RGB(32, 96, 160);
  int32_t command_frame = -1;  // none
  std::string command;
  std::string args;
};

MovieScript read_movie_script(const std::string& path);

}  // namespace movie_double
