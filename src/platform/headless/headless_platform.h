#pragma once
// The headless platform: the whole saver runs in memory on a virtual clock, with the machine
// described by a HeadlessConfig, user input played from a script, and every call to the
// outside world written to a CallLog (its format is listed in call_log.h).
//
//   HeadlessConfig config;
//   config.temp_directory = scratch;
//   config.input = {mouse_move(1000, 10, 10), mouse_move(1500, 60, 60)};
//   config.end_after_input_ms = 500;
//   HeadlessPlatform platform(config);
//   ... create the form on `platform` and call platform.application().run() ...
//   EXPECT_TRUE(platform.log().has_subsequence({"window.topmost", "screensaver.running 1"}));
//
// Time: the clock moves only while the loop waits with nothing to do, jumping to the next
// timer, scripted event or notification, so a minute of show takes milliseconds. run() ends
// on terminate(), when the first window closes, at config.run_limit_ms, or once the script is
// exhausted when config.end_after_input_ms is set (see HeadlessApplication).
//
// Windows paint into one screen-sized image (screen()); each paint presents it to the
// frame-presented hook. Input goes to the latest open window: a move over its control to the
// control, elsewhere to the form; a button to the control; keys to the form, unless a visible
// movie control covers the point or holds the keyboard. The input hook, when installed, sees
// every key, move and button first, with the cursor position.
//
// The file system is the native one with the temporary directory and the executable's path
// redirected by the configuration. The text renderer uses a built-in bitmap font, so captions
// look the same everywhere.
//
// Everything runs on the thread that made the platform, which must outlive every window,
// player, timer and control it handed out.
#include <functional>
#include <memory>

#include "platform/headless/call_log.h"
#include "platform/headless/headless_application.h"
#include "platform/headless/headless_config.h"
#include "platform/headless/headless_context.h"
#include "platform/headless/headless_desktop.h"
#include "platform/headless/headless_files.h"
#include "platform/headless/headless_flash.h"
#include "platform/headless/headless_preview.h"
#include "platform/headless/headless_setup_view.h"
#include "platform/headless/headless_text.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/input_script.h"
#include "platform/platform.h"

namespace ss {

class HeadlessPlatform final : public Platform {
 public:
  explicit HeadlessPlatform(HeadlessConfig config = {});
  ~HeadlessPlatform() override;
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  Application& application() override { return app_; }
  FileSystem& files() override { return files_; }
  Desktop& desktop() override { return desktop_; }
  TextRenderer& text() override { return text_; }
  FlashFactory& flash() override { return flash_; }
  PreviewTarget& preview() override { return preview_; }
  std::unique_ptr<ShowWindow> create_window() override;
  std::unique_ptr<ShowWindow> create_cover_window(const Rect& monitor) override;
  std::unique_ptr<MediaPlayer> create_media_player() override;
  std::unique_ptr<SetupView> create_setup_view(const SetupDialogLayout& layout) override;

  // The test's side.
  HeadlessConfig& config() { return config_; }
  CallLog& log() { return log_; }
  HeadlessApplication& app() { return app_; }
  HeadlessDesktop& headless_desktop() { return desktop_; }
  HeadlessPreview& headless_preview() { return preview_; }
  uint64_t now_ms() const { return app_.now_ms(); }

  // The screen as painted so far, and a hook called with it after every paint.
  const Bitmap24& screen() { return context_.screen(); }
  void set_frame_presented(std::function<void(const Bitmap24& screen)> on_frame) {
    context_.on_frame_presented = std::move(on_frame);
  }
  int frames_presented() const { return context_.frames_presented; }

  // The latest window that is still open, and the latest movie control; null when none.
  HeadlessWindow* window() const;
  HeadlessFlashControl* flash_control() const;
  // The open cover windows over the other monitors, in creation order.
  std::vector<HeadlessWindow*> covers() const;
  // The setup dialog handed out last, while it lives; null when none.
  HeadlessSetupView* setup_view() const { return setup_view_; }

  // Input beyond config.input; times are virtual milliseconds since the platform was made.
  void schedule(InputEvent event) { script_.schedule(std::move(event)); }
  const InputScript& script() const { return script_; }

  // Pumping without run()'s limits; see HeadlessApplication.
  bool run_for(uint64_t max_ms) { return app_.run_for(max_ms); }
  bool run_until(const std::function<bool()>& done, uint64_t max_ms) {
    return app_.run_until(done, max_ms);
  }

 private:
  void deliver(const InputEvent& event);
  // Where pointer input goes: the open cover under the cursor, else the latest open window.
  HeadlessWindow* pointer_target(Point screen) const;

  HeadlessConfig config_;
  CallLog log_;
  HeadlessApplication app_;
  HeadlessFiles files_;
  HeadlessDesktop desktop_;
  HeadlessContext context_;
  HeadlessTextRenderer text_;
  HeadlessFlashFactory flash_;
  HeadlessPreview preview_;
  InputScript script_;
  HeadlessSetupView* setup_view_ = nullptr;
};

}  // namespace ss
