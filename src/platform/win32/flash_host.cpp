// The movie control of the "flash" kind: the ActiveX control created by its class id and
// activated in place over the whole screen on a child window of ours, which gives it its
// position and visibility. The control's members are reached by name through its automation
// interface, and its movie commands through its default event interface.
#include "platform/win32/flash_host.h"

#include <windows.h>
// After windows.h, which declares the types it uses.
#include <ole2.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "base/error.h"
#include "platform/show_window.h"
#include "platform/win32/ole_dispatch.h"
#include "platform/win32/ole_events.h"
#include "platform/win32/ole_ptr.h"
#include "platform/win32/ole_site.h"
#include "platform/win32/ole_text.h"

namespace ss {
namespace {

constexpr CLSID kFlashClassId = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// The control's default event interface, for a control that offers no class information.
constexpr IID kFlashEventsId = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr char kHostWindowClass[] = "SlidesaverMovieHost";
// The dispatch id of the movie-command event, for a control whose type information is silent.
constexpr DISPID kFsCommandEventId = 150;

using FsCommandHandler = std::function<void(const std::string&, const std::string&)>;

// OLE on the GUI thread, held by the factory and by every control it made, so that it ends only
// after the last control has gone.
class OleSession {
 public:
  OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (initialised_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

  bool initialised() const { return initialised_; }

 private:
  bool initialised_;
};

void register_host_window_class() {
  static const bool registered = [] {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = kHostWindowClass;
    return RegisterClassExA(&window_class) != 0;
  }();
  if (!registered) throw SaverError("Cannot register the movie control's window class");
}

// Argument `index` of an event, counted from the first as declared, as 8-bit text.
std::string text_argument(const DISPPARAMS& parameters, UINT index) {
  if (index >= parameters.cArgs) return {};
  // The arguments arrive last first.
  VARIANT& argument = parameters.rgvarg[parameters.cArgs - 1 - index];
  VariantValue text;
  if (FAILED(VariantChangeType(text.get(), &argument, 0, VT_BSTR))) return {};
  return ansi_from_bstr(V_BSTR(text.get()));
}

class WinFlashControl final : public FlashControl {
 public:
  WinFlashControl(Application& application, std::shared_ptr<OleSession> session, HWND parent);
  ~WinFlashControl() override { release(); }
  WinFlashControl(const WinFlashControl&) = delete;
  WinFlashControl& operator=(const WinFlashControl&) = delete;

  void set_bounds(const Rect& rect) override;
  void set_visible(bool visible) override;
  // The control's own flag: a hidden parent does not hide it.
  bool visible() const override {
    return (GetWindowLongPtrA(window_, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void set_movie(const std::string& path) override {
    dispatch_.put_string(L"Movie", wide_from_ansi(path));
  }
  void play() override { dispatch_.call(L"Play"); }
  void stop() override { dispatch_.call(L"Stop"); }
  void stop_play() override { dispatch_.call(L"StopPlay"); }
  int32_t total_frames() override { return dispatch_.get_integer(L"TotalFrames"); }
  int32_t current_frame() override { return dispatch_.get_integer(L"CurrentFrame"); }
  bool is_playing() override;
  void set_fs_command_handler(FsCommandHandler handler) override {
    fs_command_ = std::move(handler);
  }

 private:
  void create_control();
  void handle_event(DISPID event, const DISPPARAMS& parameters);
  // Undoes what the constructor got done, in the reverse order.
  void release();

  Application& application_;
  std::shared_ptr<OleSession> session_;  // first in, last out
  HWND window_ = nullptr;                // ours: the control covers its client area
  ComPtr<IOleClientSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IOleInPlaceObject> in_place_;
  DispatchCaller dispatch_{ComPtr<IDispatch>()};
  std::unique_ptr<OleEventConnection> events_;
  DISPID fs_command_event_ = kFsCommandEventId;
  FsCommandHandler fs_command_;
};

WinFlashControl::WinFlashControl(Application& application, std::shared_ptr<OleSession> session,
                                 HWND parent)
    : application_(application), session_(std::move(session)) {
  register_host_window_class();
  // The control covers the screen from the start, whatever size the form still has.
  window_ = CreateWindowExA(0, kHostWindowClass, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), parent,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) throw SaverError("Cannot create the movie control's window");
  try {
    create_control();
  } catch (...) {
    release();
    throw;
  }
}

void WinFlashControl::create_control() {
  const HRESULT created = CoCreateInstance(kFlashClassId, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IOleObject, object_.put_void());
  check_hresult(created, created == REGDB_E_CLASSNOTREG ? "The movie control is not installed"
                                                        : "The movie control cannot be created");
  site_ = create_ole_site(window_);
  check_hresult(object_->SetClientSite(site_.get()), "The movie control refuses its site");
  if (auto persist = object_.query<IPersistStreamInit>(IID_IPersistStreamInit)) persist->InitNew();
  OleSetContainedObject(object_.get(), TRUE);
  RECT area = {};
  GetClientRect(window_, &area);
  check_hresult(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, window_, &area),
                "The movie control cannot be activated");
  in_place_ = object_.query<IOleInPlaceObject>(IID_IOleInPlaceObject);
  auto automation = object_.query<IDispatch>(IID_IDispatch);
  if (!automation) throw SaverError("The movie control cannot be automated");
  dispatch_ = DispatchCaller(std::move(automation));
  try {
    events_ = std::make_unique<OleEventConnection>(
        object_.get(), kFlashEventsId,
        [this](DISPID event, const DISPPARAMS& parameters) { handle_event(event, parameters); });
    fs_command_event_ = events_->event_id(L"FSCommand", kFsCommandEventId);
  } catch (const SaverError&) {
    // A control whose events cannot be reached still plays its movies; it only cannot end
    // the show by its command.
    events_.reset();
  }
}

bool WinFlashControl::is_playing() {
  try {
    return dispatch_.get_integer(L"IsPlaying") != 0;
  } catch (const SaverError&) {
    // A control that cannot say is taken to play: only its frame count ends the movie.
    return true;
  }
}

void WinFlashControl::release() {
  events_.reset();
  dispatch_.reset();
  if (in_place_) in_place_->InPlaceDeactivate();
  in_place_.reset();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  object_.reset();
  site_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
}

void WinFlashControl::set_bounds(const Rect& rect) {
  MoveWindow(window_, rect.left, rect.top, rect.width(), rect.height(), TRUE);
  if (!in_place_) return;
  const RECT area = {0, 0, rect.width(), rect.height()};
  check_hresult(in_place_->SetObjectRects(&area, &area), "The movie control cannot be placed");
}

void WinFlashControl::set_visible(bool visible) {
  ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void WinFlashControl::handle_event(DISPID event, const DISPPARAMS& parameters) {
  if (event != fs_command_event_) return;
  // Copied: the handler may destroy the control.
  const FsCommandHandler handler = fs_command_;
  if (!handler) return;
  try {
    handler(text_argument(parameters, 0), text_argument(parameters, 1));
  } catch (const std::exception& error) {
    application_.report_error(error.what());
  }
}

class WinFlashFactory final : public FlashFactory {
 public:
  explicit WinFlashFactory(Application& application)
      : application_(application), session_(std::make_shared<OleSession>()) {}

  std::unique_ptr<FlashControl> create(ShowWindow& parent) override {
    if (!session_->initialised()) throw SaverError("OLE is not available");
    const auto parent_window = reinterpret_cast<HWND>(parent.native_handle());
    return std::make_unique<WinFlashControl>(application_, session_, parent_window);
  }

 private:
  Application& application_;
  std::shared_ptr<OleSession> session_;
};

}  // namespace

std::unique_ptr<FlashFactory> create_flash_factory(Application& application) {
  return std::make_unique<WinFlashFactory>(application);
}

}  // namespace ss
