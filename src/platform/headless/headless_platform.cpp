#include "platform/headless/headless_platform.h"

#include "platform/headless/headless_media_player.h"

namespace ss {
namespace {

const char* button_name(MouseButton button) {
  switch (button) {
    case MouseButton::kLeft:
      return "left";
    case MouseButton::kRight:
      return "right";
    case MouseButton::kMiddle:
      return "middle";
  }
  return "left";
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(HeadlessConfig config)
    : config_(std::move(config)),
      log_([this] { return app_.now_ms(); }),
      app_(log_, config_.start_tick),
      files_(config_, log_, native_file_system()),
      desktop_(config_, log_),
      context_{.config = config_, .log = log_, .app = app_, .files = files_, .desktop = desktop_},
      text_(log_),
      flash_(context_),
      preview_(context_),
      script_(app_, [this](const InputEvent& event) { deliver(event); }) {
  app_.set_run_limit(config_.run_limit_ms);
  app_.set_during_error_box([this] {
    if (config_.during_message_box) config_.during_message_box();
  });
  script_.end_run_after_last(config_.end_after_input_ms);
  for (const InputEvent& event : config_.input) script_.schedule(event);
}

HeadlessPlatform::~HeadlessPlatform() = default;

std::unique_ptr<ShowWindow> HeadlessPlatform::create_window() {
  auto window = std::make_unique<HeadlessWindow>(context_, context_.next_window_handle);
  context_.next_window_handle += 0x10;
  context_.windows.push_back(window.get());
  if (app_.main_window() == nullptr) app_.set_main_window(window.get());
  return window;
}

std::unique_ptr<ShowWindow> HeadlessPlatform::create_cover_window(const Rect& /*monitor*/) {
  auto window = std::make_unique<HeadlessWindow>(context_, context_.next_window_handle,
                                                 HeadlessWindow::Role::kCover);
  context_.next_window_handle += 0x10;
  context_.covers.push_back(window.get());
  return window;
}

std::unique_ptr<MediaPlayer> HeadlessPlatform::create_media_player() {
  return std::make_unique<HeadlessMediaPlayer>(context_);
}

std::unique_ptr<SetupView> HeadlessPlatform::create_setup_view(const SetupDialogLayout& layout) {
  (void)layout;  // the headless dialog keeps captions only
  auto view = std::make_unique<HeadlessSetupView>(app_, context_.next_window_handle);
  context_.next_window_handle += 0x10;
  HeadlessSetupView* created = view.get();
  view->set_on_destroy([this, created] {
    if (setup_view_ == created) setup_view_ = nullptr;
  });
  setup_view_ = created;
  return view;
}

HeadlessWindow* HeadlessPlatform::window() const {
  for (auto it = context_.windows.rbegin(); it != context_.windows.rend(); ++it) {
    if (!(*it)->closed()) return *it;
  }
  return nullptr;
}

std::vector<HeadlessWindow*> HeadlessPlatform::covers() const {
  std::vector<HeadlessWindow*> open;
  for (HeadlessWindow* cover : context_.covers)
    if (!cover->closed()) open.push_back(cover);
  return open;
}

HeadlessWindow* HeadlessPlatform::pointer_target(Point screen) const {
  for (HeadlessWindow* cover : context_.covers) {
    if (cover->takes_input() && cover->bounds().contains(screen)) return cover;
  }
  return window();
}

HeadlessFlashControl* HeadlessPlatform::flash_control() const {
  return context_.flash_controls.empty() ? nullptr : context_.flash_controls.back();
}

void HeadlessPlatform::deliver(const InputEvent& event) {
  using Kind = InputEvent::Kind;
  HeadlessWindow* target = window();
  const Point cursor = desktop_.cursor_pos();
  switch (event.kind) {
    case Kind::kKeyDown:
      log_.add("input.key " + std::to_string(event.key));
      desktop_.observe(HookedInput::kKeyDown);
      // The hook may have closed the window.
      if ((target = window()) != nullptr) target->deliver_key_down(event.key, event.shift);
      break;
    case Kind::kMouseMove: {
      Point screen = event.pos;
      if (event.client && target != nullptr) {
        screen = {event.pos.x + target->bounds().left, event.pos.y + target->bounds().top};
      }
      log_.add("input.move " + format_point(screen));
      desktop_.move_cursor(screen);
      desktop_.observe(HookedInput::kMouseMove);
      if ((target = pointer_target(screen)) != nullptr)
        target->deliver_mouse_move(screen, event.shift);
      break;
    }
    case Kind::kMouseDown:
      log_.add(std::string("input.down ") + button_name(event.button));
      desktop_.observe(HookedInput::kButtonDown);
      if ((target = pointer_target(cursor)) != nullptr)
        target->deliver_mouse_button(true, event.button, cursor, event.shift);
      break;
    case Kind::kMouseUp:
      log_.add(std::string("input.up ") + button_name(event.button));
      if ((target = pointer_target(cursor)) != nullptr)
        target->deliver_mouse_button(false, event.button, cursor, event.shift);
      break;
    case Kind::kUserMessage:
      log_.add("input.message " + format_hex(event.message, 4));
      if (target != nullptr) target->deliver_user_message(event.message);
      break;
    case Kind::kActivate:
      log_.add("input.activate");
      if (target != nullptr) target->deliver_activate();
      break;
    case Kind::kClose:
      log_.add("input.close");
      if (target != nullptr) target->close();
      break;
    case Kind::kFlashCommand:
      log_.add("input.fscommand " + event.command + " " + event.args);
      if (HeadlessFlashControl* control = flash_control())
        control->raise_fs_command(event.command, event.args);
      break;
  }
}

}  // namespace ss
