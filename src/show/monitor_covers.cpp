#include "show/monitor_covers.h"

namespace ss {

class MonitorCovers::Cover final : private FormEvents {
 public:
  Cover(std::unique_ptr<ShowWindow> window, Point show_origin, const CoverInput& input)
      : window_(std::move(window)), show_origin_(show_origin), input_(input) {
    window_->set_events(this);
  }
  ~Cover() { window_->set_events(nullptr); }
  Cover(const Cover&) = delete;
  Cover& operator=(const Cover&) = delete;

  ShowWindow& window() const { return *window_; }

 private:
  Point to_show(int32_t x, int32_t y) const {
    const Rect at = window_->bounds();
    return {at.left + x - show_origin_.x, at.top + y - show_origin_.y};
  }

  void handle_show() override {}
  void handle_activate() override {}
  void handle_key_down(uint32_t key, uint32_t shift) override {
    if (input_.key_down) input_.key_down(key, shift);
  }
  void handle_mouse_move(uint32_t shift, int32_t x, int32_t y) override {
    if (input_.mouse_move) input_.mouse_move(shift, to_show(x, y));
  }
  void handle_mouse_down(MouseButton button, uint32_t shift, int32_t x, int32_t y) override {
    if (input_.mouse_down) input_.mouse_down(button, shift, to_show(x, y));
  }
  void handle_user_message(uint32_t /*message*/) override {}
  void handle_close() override {}

  std::unique_ptr<ShowWindow> window_;
  Point show_origin_;
  const CoverInput& input_;
};

MonitorCovers::MonitorCovers() = default;

MonitorCovers::~MonitorCovers() {
  close();
}

void MonitorCovers::cover(Platform& platform, Point show_origin, bool topmost, CoverInput input) {
  close();
  input_ = std::move(input);
  for (const Rect& monitor : platform.desktop().other_monitors()) {
    if (monitor.empty()) continue;
    std::unique_ptr<ShowWindow> window = platform.create_cover_window(monitor);
    window->set_bounds(monitor);
    window->set_color(kBlack);
    auto& cover =
        covers_.emplace_back(std::make_unique<Cover>(std::move(window), show_origin, input_));
    if (topmost) cover->window().set_topmost();
    cover->window().show();
  }
}

void MonitorCovers::close() {
  // Taken out first: a cover's closing may run input handlers that reach back here.
  std::vector<std::unique_ptr<Cover>> closing = std::move(covers_);
  covers_.clear();
  for (auto& cover : closing) cover->window().close();
}

}  // namespace ss
