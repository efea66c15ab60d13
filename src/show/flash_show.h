#pragma once
// The texts and the address of the movie show of the "flash" kind, and its rule for the end
// of a movie.
#include <cstdint>

namespace ss {

// Asked when the movie control cannot be created; the language file may replace it.
inline constexpr const char* kDownloadQuestionTitle = "Information";
// The page a Yes answer opens: the section of the project's README that tells what to do when
// the movie control is missing.
inline constexpr const char* kFlashDownloadPage =
    "https://slidesaver.org/readme#when-the-movie-control-is-missing";

// The command a movie sends to end the show, in any letter case.
inline constexpr const char* kQuitCommand = "quit";

// Whether the polled movie is over and the next one is due: its current frame has reached its
// frame count, or it has stopped on its last frame. A frame count of 0 never ends a movie.
bool MovieHasEnded(int32_t total_frames, int32_t current_frame, bool playing);

}  // namespace ss
