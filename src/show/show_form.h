#pragma once
// TfrmScrn: the full-screen window of show mode. It lives for one run of the saver: created as
// the application's main form, activated once (the package read, the media extracted, the
// screen covered), then running slides, music and movies until an exit rule closes it.
//
// Every handler runs on the GUI thread. Handlers reached from the platform (window events,
// timers, the media player, the movie control, the input hook, the idle handler) report an
// error that escapes them through Application::report_error, as the framework's message
// dispatch does, so an error in a handler run inside a transition's pumping never unwinds the
// transition that pumped it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "package/image_record.h"
#include "package/ss_file_locations.h"
#include "platform/platform.h"
#include "show/monitor_covers.h"
#include "transition/transition_view.h"

namespace ss {

// The form's private messages (the first user message is 0x0400).
inline constexpr uint32_t WM_STARTSHOW = 0x0401;
inline constexpr uint32_t WM_STOPSHOW = 0x0402;
// The system's close message (0x0010), posted by the input hook; the form closes when it
// arrives. Named apart from the system's own macro so that both can be seen at once.
inline constexpr uint32_t kCloseMessage = 0x0010;

// The form's colour as designed, before activation turns it black.
inline constexpr Color kClBtnFace = static_cast<Color>(0xFF00000Fu);
inline constexpr int32_t kDesignWidth = 423;
inline constexpr int32_t kDesignHeight = 350;

// The slide timer's interval until the settings are read (the framework timer's default).
inline constexpr uint32_t kDefaultTimerInterval = 1000;
inline constexpr uint32_t kFlashPollInterval = 1000;

class TfrmScrn final : private FormEvents {
 public:
  // Builds the designed content (PShow, mpSaver, TimerFlash), then runs FormCreate. The window
  // is not shown yet; the application's run shows it.
  explicit TfrmScrn(Platform& platform);
  // Runs FormDestroy, then releases the content.
  ~TfrmScrn();
  TfrmScrn(const TfrmScrn&) = delete;
  TfrmScrn& operator=(const TfrmScrn&) = delete;

  ShowWindow& window() { return *window_; }
  TTransitionView& PShow() { return *PShow_; }
  const TSSFileLocations& Settings() const { return FSettings; }
  FlashControl* FlashPlayer() const { return FFlashPlayer.get(); }
  Timer& SlideTimer() { return *FSlideTimer; }
  Timer& TimerFlash() { return *TimerFlash_; }
  int32_t PicIndex() const { return FPicIndex; }
  int32_t SoundIndex() const { return FSoundIndex; }
  int32_t MovieIndex() const { return FMovieIndex; }
  int32_t EffectIndex() const { return FEffectIndex; }
  Point MouseAnchor() const { return {FMouseAnchorX, FMouseAnchorY}; }
  bool ShowStarted() const { return FShowStarted; }
  bool FirstActivation() const { return FFirstActivation; }

  // Form events.
  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormKeyDown(uint32_t key, uint32_t shift);
  void FormMouseMove(uint32_t shift, int32_t x, int32_t y);
  void PShowMouseDown(MouseButton button, uint32_t shift, int32_t x, int32_t y);
  void FormClose();
  void FormDestroy();

  // The private messages and the idle handler that posts the first one.
  void WMStartShow();
  void WMStopShow();
  void AppIdle();

  // The common exit routine: the password check where the system asks for one, then the end.
  void TryExitShow();

  // The slide sequencer; sender is the slide timer, or nullptr for the first slide.
  void ShowNextSlide(Timer* sender);
  // Replaces the record's picture by the screen-sized slide with the caption.
  void ComposeSlide(TImage& record);

  // Background music.
  void PlayNextTrack();
  void mpSaverNotify();

  // The movie show of the "flash" kind.
  void CreateFlashPlayer();
  void PlayNextMovie();
  void TimerFlashTimer();
  void FlashFSCommand(const std::string& command, const std::string& args);

 private:
  // FormEvents: what the window delivers, each run under the error report.
  void handle_show() override;
  void handle_activate() override;
  void handle_key_down(uint32_t key, uint32_t shift) override;
  void handle_mouse_move(uint32_t shift, int32_t x, int32_t y) override;
  void handle_user_message(uint32_t message) override;
  void handle_close() override;

  // Runs a handler; an error that escapes it goes to the application's standard report.
  void Guarded(const std::function<void()>& handler);
  std::function<void()> GuardedHandler(void (TfrmScrn::*handler)());

  void ActivateBody();
  // What activation does for the saver's kind; false when that closed the form.
  bool DispatchKind();
  void SetFormColor(Color color);
  // Black windows over the monitors the show does not take, whose input is the show's.
  void CoverOtherMonitors(bool topmost);
  // The password check of the exit routine: true when the user may leave.
  bool PasswordVerified();

  Platform& platform_;
  Application& app_;

  // The designed content, in creation order.
  std::unique_ptr<ShowWindow> window_;
  std::unique_ptr<TTransitionView> PShow_;
  std::unique_ptr<MediaPlayer> mpSaver;
  std::unique_ptr<Timer> TimerFlash_;

  // Run-time fields.
  std::unique_ptr<FlashControl> FFlashPlayer;
  int32_t FPicIndex = 0;
  int32_t FSoundIndex = 0;
  int32_t FFailedTracksInARow = 0;  // failed play notices since the last track that played
  int32_t FMovieIndex = 0;
  int32_t FEffectIndex = 0;
  std::unique_ptr<Timer> FSlideTimer;
  int32_t FMouseAnchorX = -1;
  int32_t FMouseAnchorY = -1;
  bool FShowStarted = false;
  bool FFirstActivation = true;
  bool FActivating = false;  // the activation body is running
  // An error escaped the activation body: it has been reported once and is not retried.
  bool FActivationFailed = false;
  TSSFileLocations FSettings;
  std::string FMediaFolder;  // the show's own folder of media copies; empty until extracted
  MonitorCovers covers_;

  bool idle_handler_installed_ = false;
  // mpSaver has a device open, which the end of the show closes.
  bool media_open_ = false;
};

}  // namespace ss
