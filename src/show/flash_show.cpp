// The movie show of the "flash" kind: the movie control over the whole screen, the movies one
// after the other for ever, polled once a second for their end, and the movie's "quit" command.
#include "show/flash_show.h"

#include <exception>

#include "base/text.h"
#include "config/config_paths.h"
#include "config/language_texts.h"
#include "show/media_extraction.h"
#include "show/show_form.h"

namespace ss {

void TfrmScrn::CreateFlashPlayer() {
  Desktop& desktop = platform_.desktop();
  try {
    FFlashPlayer = platform_.flash().create(*window_);
    const Point screen = desktop.primary_screen_size();
    FFlashPlayer->set_bounds({0, 0, screen.x, screen.y});
    FFlashPlayer->set_visible(true);
    FFlashPlayer->set_fs_command_handler(
        [this](const std::string& command, const std::string& args) {
          Guarded([&] { FlashFSCommand(command, args); });
        });
  } catch (const std::exception&) {
    // Typically the control is not installed: offer its download page and end the show.
    FFlashPlayer.reset();
    FileSystem& files = platform_.files();
    std::string question(language_default(LanguageText::DownloadSWF));
    const std::string language_path = language_file_path(files);
    if (files.file_exists(language_path))
      question = read_language_text(files, language_path, LanguageText::DownloadSWF);
    if (desktop.ask_yes_no(kDownloadQuestionTitle, question))
      desktop.shell_open(window_->native_handle(), kFlashDownloadPage);
    window_->close();
  }
}

void TfrmScrn::PlayNextMovie() {
  if (!FFlashPlayer) return;
  if (!FFlashPlayer->visible()) FFlashPlayer->set_visible(true);
  if (PShow_->Visible()) PShow_->SetVisible(false);
  const int32_t movies = FSettings.FlashCommaList.count();
  if (movies == 0) return;  // the empty control stays over the screen
  TimerFlash_->set_enabled(false);
  if (FMovieIndex > movies - 1) FMovieIndex = 0;
  FFlashPlayer->stop();
  FFlashPlayer->set_movie(
      media_path(FSettings, MediaKind::Movie, FMovieIndex, FMediaFolder, platform_.files()));
  try {
    FFlashPlayer->play();
  } catch (const std::exception&) {
    // The timer goes on polling; the next movie starts when the control reports the end.
  }
  ++FMovieIndex;
  TimerFlash_->set_enabled(true);
}

void TfrmScrn::TimerFlashTimer() {
  if (!FFlashPlayer) return;
  const int32_t total_frames = FFlashPlayer->total_frames();
  const int32_t current_frame = FFlashPlayer->current_frame();
  // Whether it still plays matters only on the last frame, and is asked only there.
  const bool on_last_frame = total_frames > 0 && current_frame == total_frames - 1;
  const bool playing = !on_last_frame || FFlashPlayer->is_playing();
  if (MovieHasEnded(total_frames, current_frame, playing)) PlayNextMovie();
}

bool MovieHasEnded(int32_t total_frames, int32_t current_frame, bool playing) {
  // A movie that has not loaded yet reports no frames; that is no end.
  if (total_frames <= 0) return false;
  // Controls number frames from 0, so a movie that stops at its end rests on the last one;
  // one that counts past it reaches the total.
  return current_frame >= total_frames || (!playing && current_frame == total_frames - 1);
}

void TfrmScrn::FlashFSCommand(const std::string& command, const std::string& /*args*/) {
  if (!FSettings.lExitFSCommandQuit) return;
  if (ascii_lower(command) != kQuitCommand) return;
  if (FFlashPlayer) FFlashPlayer->stop_play();
  TryExitShow();
}

}  // namespace ss
