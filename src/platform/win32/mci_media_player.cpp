// Music through the media control interface. Every play asks MCI for one notification, and MCI
// sends exactly one for each request (ended, superseded, aborted or failed); stop and close
// make the ones still on their way be dropped, so that the show only hears of the plays it
// has not cancelled itself.
#include "platform/win32/mci_media_player.h"

#include <windows.h>
// After windows.h, which declares the types it uses.
#include <mmsystem.h>

#include <exception>
#include <functional>
#include <string>

#include "base/error.h"

namespace ss {
namespace {

constexpr char kNotifyWindowClass[] = "SlidesaverMciNotify";

std::string mci_error_text(MCIERROR error) {
  char text[256] = {};
  if (!mciGetErrorStringA(error, text, sizeof text) || text[0] == '\0')
    return "Media device error " + std::to_string(error);
  return text;
}

void check_mci(MCIERROR error) {
  if (error != 0) throw SaverError(mci_error_text(error));
}

// MCI unloads a device's driver when its last device closes. A driver may post the end of a
// play from a playback thread of its own that then still returns through the driver's code
// (Wine's wave driver does), and the show closes the device on that notice to open the next
// track: the unload would take the code from under the thread, which then faults. Once a
// driver has been used it stays loaded until the process ends.
void keep_mci_drivers_loaded() {
  for (const char* driver : {"mciwave.dll", "mciseq.dll", "mciqtz32.dll", "mciavi32.dll"}) {
    HMODULE module = nullptr;
    // Fails, harmlessly, for a driver that is not loaded.
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, driver, &module);
  }
}

class MciMediaPlayer final : public MediaPlayer {
 public:
  MciMediaPlayer();
  ~MciMediaPlayer() override;
  MciMediaPlayer(const MciMediaPlayer&) = delete;
  MciMediaPlayer& operator=(const MciMediaPlayer&) = delete;

  void open(const std::string& path) override;
  void play() override;
  void stop() override;
  void close() override;
  void set_notify_handler(std::function<void()> on_notify) override {
    on_notify_ = std::move(on_notify);
  }
  bool notice_failed() const override { return notice_failed_; }

 private:
  static void register_window_class();
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void handle_notification(WPARAM code);
  // Notifications requested so far that will arrive but must not reach the handler.
  void drop_pending_notifications() { to_drop_ = requested_; }

  HWND window_ = nullptr;
  MCIDEVICEID device_ = 0;
  std::function<void()> on_notify_;
  bool notice_failed_ = false;  // the notice being handled reports a failed playback
  unsigned requested_ = 0;      // notifications asked for and not yet arrived
  unsigned to_drop_ = 0;        // of those, how many are cancelled
};

void MciMediaPlayer::register_window_class() {
  static const bool registered = [] {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &window_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = kNotifyWindowClass;
    return RegisterClassExA(&window_class) != 0;
  }();
  if (!registered) throw SaverError("Cannot register the media player's window class");
}

MciMediaPlayer::MciMediaPlayer() {
  register_window_class();
  window_ = CreateWindowExA(0, kNotifyWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) throw SaverError("Cannot create the media player's window");
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MciMediaPlayer::~MciMediaPlayer() {
  close();
  // Notifications still queued for the window are discarded with it.
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void MciMediaPlayer::open(const std::string& path) {
  close();
  MCI_OPEN_PARMSA parameters = {};
  parameters.lpstrElementName = path.c_str();
  // No device type: MCI chooses the device from the file.
  check_mci(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                            reinterpret_cast<DWORD_PTR>(&parameters)));
  device_ = parameters.wDeviceID;
  keep_mci_drivers_loaded();
}

void MciMediaPlayer::play() {
  if (device_ == 0) throw SaverError(mci_error_text(MCIERR_INVALID_DEVICE_ID));
  MCI_PLAY_PARMS parameters = {};
  parameters.dwCallback = reinterpret_cast<DWORD_PTR>(window_);
  check_mci(
      mciSendCommandA(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&parameters)));
  ++requested_;
}

void MciMediaPlayer::stop() {
  drop_pending_notifications();
  if (device_ == 0) return;
  MCI_GENERIC_PARMS parameters = {};
  // The show records no result of a stop.
  mciSendCommandA(device_, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
}

void MciMediaPlayer::close() {
  drop_pending_notifications();
  if (device_ == 0) return;
  MCI_GENERIC_PARMS parameters = {};
  mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
  device_ = 0;
}

void MciMediaPlayer::handle_notification(WPARAM code) {
  // Only answers to our own requests count: a failed play asked for nothing.
  if (requested_ == 0) return;
  --requested_;
  if (to_drop_ > 0) {
    --to_drop_;
    return;
  }
  // Copied: the handler may destroy the player, so the flag is not reset afterwards; the next
  // notice sets it again.
  const std::function<void()> handler = on_notify_;
  notice_failed_ = code == MCI_NOTIFY_FAILURE;
  if (handler) handler();
}

LRESULT CALLBACK MciMediaPlayer::window_procedure(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
  if (message != MM_MCINOTIFY) return DefWindowProcA(window, message, wparam, lparam);
  auto* player = reinterpret_cast<MciMediaPlayer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (player == nullptr) return 0;
  try {
    player->handle_notification(wparam);
  } catch (...) {
    // The show's handler reports its own errors; nothing may unwind through the system.
  }
  return 0;
}

}  // namespace

std::unique_ptr<MediaPlayer> create_mci_media_player() {
  return std::make_unique<MciMediaPlayer>();
}

}  // namespace ss
