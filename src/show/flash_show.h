#pragma once
// The texts and the address of the movie show of the "flash" kind.
namespace ss {

// Asked when the movie control cannot be created; the language file may replace it.
inline constexpr const char* kDownloadQuestionTitle = "Information";
// The page a Yes answer opens, where the user can get the movie control.
inline constexpr const char* kFlashDownloadPage = "https://www.example.com/flash-player/download";

// The command a movie sends to end the show, in any letter case.
inline constexpr const char* kQuitCommand = "quit";

}  // namespace ss
