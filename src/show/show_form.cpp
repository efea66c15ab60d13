// The show form's life: creation, the one-time activation that reads the package and covers the
// screen, the kind dispatch, the start of the first slide, the close and the clean-up.
#include "show/show_form.h"

#include <exception>
#include <optional>
#include <utility>

#include "base/random.h"
#include "config/config_paths.h"
#include "config/mute_setting.h"
#include "package/class_registry.h"
#include "package/trailer.h"
#include "show/input_hook.h"
#include "show/media_extraction.h"

namespace ss {

TfrmScrn::TfrmScrn(Platform& platform)
    : platform_(platform),
      app_(platform.application()),
      window_(platform.create_window()),
      PShow_(std::make_unique<TTransitionView>(*window_, app_.loop(), app_.clock())),
      mpSaver(platform.create_media_player()),
      TimerFlash_(app_.create_timer()) {
  // The designed form: centred at its design size, in the dialog colour until activation.
  const Point screen = platform_.desktop().primary_screen_size();
  const int32_t left = (screen.x - kDesignWidth) / 2;
  const int32_t top = (screen.y - kDesignHeight) / 2;
  window_->set_bounds({left, top, left + kDesignWidth, top + kDesignHeight});
  SetFormColor(kClBtnFace);
  window_->set_events(this);

  PShow_->SetAlign(alClient);
  PShow_->SetCenter(true);
  PShow_->SetThreaded(false);
  PShow_->OnMouseDown = [this](TCustomTransitionView&, MouseButton button, uint32_t shift,
                               int32_t x, int32_t y) {
    Guarded([&] { PShowMouseDown(button, shift, x, y); });
  };
  PShow_->OnMouseMove = [this](TCustomTransitionView&, uint32_t shift, int32_t x, int32_t y) {
    Guarded([&] { FormMouseMove(shift, x, y); });
  };

  mpSaver->set_notify_handler(GuardedHandler(&TfrmScrn::mpSaverNotify));

  TimerFlash_->set_enabled(false);
  TimerFlash_->set_interval(kFlashPollInterval);
  TimerFlash_->set_handler(GuardedHandler(&TfrmScrn::TimerFlashTimer));

  show_process_state().show_form = this;
  FormCreate();
}

TfrmScrn::~TfrmScrn() {
  try {
    FormDestroy();
  } catch (...) {
    // Nothing may leave a destructor; the media copies are the only thing at stake.
  }
  ShowProcessState& state = show_process_state();
  if (state.show_form == this) state.show_form = nullptr;
  if (state.hook_window == window_.get()) {
    RemoveInputHook(platform_.desktop());
    state.hook_window = nullptr;
  }
  // A form destroyed without closing must not leave its idle handler behind.
  if (idle_handler_installed_) app_.set_idle_handler({});
  window_->set_events(nullptr);
}

void TfrmScrn::FormCreate() {
  FFirstActivation = true;
  FSlideTimer = app_.create_timer();
  FSlideTimer->set_enabled(false);
  FPicIndex = 0;
  FSoundIndex = 0;
  FMovieIndex = 0;
  FEffectIndex = 0;
  FSettings = TSSFileLocations{};
  FFlashPlayer.reset();
}

void TfrmScrn::FormShow() {
  window_->hide_application_window();
}

void TfrmScrn::FormActivate() {
  // A message box raised by the activation (the missing movie control's question) gives the
  // activation back to this window when it closes: that must not start the body again.
  // An activation that failed would fail again the same way: the error box that reported it
  // gives the activation back when it closes, and retrying would raise the box for ever. The
  // window stays as far as the activation got; its exit rules still end it.
  if (!FFirstActivation || FActivating || FActivationFailed) return;
  FActivating = true;
  try {
    ActivateBody();
  } catch (...) {
    FActivating = false;
    FActivationFailed = true;
    throw;
  }
  FActivating = false;
}

void TfrmScrn::ActivateBody() {
  FileSystem& files = platform_.files();
  Desktop& desktop = platform_.desktop();
  // Closed on every way out, the early ones and an error included.
  std::unique_ptr<ByteSource> file = files.open_read_deny_write(files.executable_path());

  // The first trailer field (the package length) only has to be there.
  if (!read_package_length(*file)) return;
  const std::optional<int32_t> settings_offset = read_settings_offset(*file);
  if (!settings_offset) return;

  try {
    file->seek(*settings_offset);
    read_stream_into(*file, FSettings);
  } catch (const std::exception&) {
    app_.terminate();
    return;
  }
  FSlideTimer->set_interval(static_cast<uint32_t>(FSettings.Interval));
  FSlideTimer->set_handler(
      [this, timer = FSlideTimer.get()] { Guarded([&] { ShowNextSlide(timer); }); });

  FMediaFolder = extract_media(*file, FSettings, files);
  FSettings.lMute = read_saver_mute_setting(files, FSettings.lMute);

  if (!DispatchKind()) return;
  if (!FSettings.lShowMouseCursor) desktop.show_cursor(false);
  file.reset();
  FFirstActivation = false;

  SetFormColor(kBlack);
  const Point screen = desktop.primary_screen_size();
  window_->set_bounds({0, 0, screen.x, screen.y});
  FMouseAnchorX = -1;
  FMouseAnchorY = -1;
  app_.set_idle_handler(GuardedHandler(&TfrmScrn::AppIdle));
  idle_handler_installed_ = true;
  const bool topmost = FSettings.Ver != "powerpoint";
  if (topmost) window_->set_topmost();
  desktop.set_screen_saver_running(true);
  window_->show();
  CoverOtherMonitors(topmost);
}

void TfrmScrn::CoverOtherMonitors(bool topmost) {
  CoverInput input;
  input.key_down = [this](uint32_t key, uint32_t shift) {
    Guarded([&] { FormKeyDown(key, shift); });
  };
  input.mouse_down = [this](MouseButton button, uint32_t shift, Point at) {
    Guarded([&] { PShowMouseDown(button, shift, at.x, at.y); });
  };
  input.mouse_move = [this](uint32_t shift, Point at) {
    Guarded([&] { FormMouseMove(shift, at.x, at.y); });
  };
  const Rect bounds = window_->bounds();
  covers_.cover(platform_, {bounds.left, bounds.top}, topmost, std::move(input));
}

bool TfrmScrn::DispatchKind() {
  // The kind is compared exactly: "Photo" is not the photo kind.
  if (FSettings.Ver == "flash") {
    CreateFlashPlayer();
    if (!FFlashPlayer) return false;  // the control is missing and the form has closed
    InstallInputHook(platform_.desktop(), *window_);
    if (FSettings.PicCommaList.count() == 0) PlayNextMovie();
  } else if (FSettings.Ver == "photo") {
    // One track for the whole show, drawn before the first is played.
    if (FSettings.SoundRandom == 3) FSoundIndex = Random(FSettings.SndCommaList.count());
    PlayNextTrack();
  }
  return true;
}

void TfrmScrn::AppIdle() {
  // Posting at every idle moment would keep the loop from ever waiting; once the first slide
  // has started the message would be ignored anyway.
  if (!FShowStarted) window_->post_user_message(WM_STARTSHOW);
}

void TfrmScrn::WMStartShow() {
  if (FShowStarted) return;
  FShowStarted = true;
  ShowNextSlide(nullptr);
}

void TfrmScrn::WMStopShow() {
  FSlideTimer->set_enabled(false);
  TryExitShow();
}

void TfrmScrn::FormClose() {
  covers_.close();
  Desktop& desktop = platform_.desktop();
  RemoveInputHook(desktop);
  desktop.set_screen_saver_running(false);
  app_.set_idle_handler({});
  idle_handler_installed_ = false;
  window_->release_capture();
  desktop.show_cursor(true);
}

void TfrmScrn::FormDestroy() {
  // The player and the movie control let go of their files first, so that the copies they
  // were playing can be deleted.
  if (media_open_) mpSaver->close();
  media_open_ = false;
  FFlashPlayer.reset();
  delete_media(FSettings, FMediaFolder, platform_.files());
  FMediaFolder.clear();
}

void TfrmScrn::SetFormColor(Color color) {
  window_->set_color(color);
  PShow_->CMParentColorChanged(color);
}

void TfrmScrn::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    app_.report_error(error.what());
  }
}

std::function<void()> TfrmScrn::GuardedHandler(void (TfrmScrn::*handler)()) {
  return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
}

void TfrmScrn::handle_show() {
  Guarded([this] { FormShow(); });
}

void TfrmScrn::handle_activate() {
  Guarded([this] { FormActivate(); });
}

void TfrmScrn::handle_key_down(uint32_t key, uint32_t shift) {
  Guarded([&] { FormKeyDown(key, shift); });
}

void TfrmScrn::handle_mouse_move(uint32_t shift, int32_t x, int32_t y) {
  Guarded([&] { FormMouseMove(shift, x, y); });
}

void TfrmScrn::handle_user_message(uint32_t message) {
  Guarded([&] {
    switch (message) {
      case WM_STARTSHOW:
        WMStartShow();
        break;
      case WM_STOPSHOW:
        WMStopShow();
        break;
      case kCloseMessage:
        window_->close();
        break;
      default:
        break;
    }
  });
}

void TfrmScrn::handle_close() {
  Guarded([this] { FormClose(); });
}

}  // namespace ss
