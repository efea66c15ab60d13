#pragma once
// A picture control on the headless platform, with an event log.
#include <memory>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "package/picture.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_host.h"
#include "platform/headless/headless_loop.h"
#include "transition/transition_view.h"

namespace ss::view_test {

inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kBlue = 0xFF0000;

// A graphic with no pixels.
class EmptyGraphic final : public Graphic {
 public:
  std::string_view class_name() const override { return "TBitmap"; }
  int32_t width() const override { return 0; }
  int32_t height() const override { return 0; }
  void draw(Bitmap24&, const Rect&) const override {}
};

inline Bitmap24 Solid(int32_t w, int32_t h, Color c) {
  Bitmap24 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.set_pixel(x, y, c);
  return b;
}

inline Picture SolidPicture(int32_t w, int32_t h, Color c) {
  return Picture::from_bitmap(Solid(w, h, c));
}

struct Rig {
  explicit Rig(int32_t parent_w = 300, int32_t parent_h = 300, uint32_t start_tick = 0)
      : clock(start_tick), host(parent_w, parent_h) {}

  // Unthreaded, as the show runs it.
  TTransitionView& Unthreaded() {
    view.SetThreaded(false);
    return view;
  }

  // Logs "before 50", "after 50", "progress 50", "complete" (the numbers being Progress).
  void Record() {
    const auto frame = [this](const char* name) {
      return [this, name](TCustomTransitionView& v, Bitmap24&, Bitmap24&) {
        log.push_back(std::string(name) + " " + std::to_string(v.Progress()));
      };
    };
    view.OnBeforeNewFrame = frame("before");
    view.OnAfterNewFrame = frame("after");
    view.OnProgress = [this](TCustomTransitionView& v) {
      log.push_back("progress " + std::to_string(v.Progress()));
      progress.push_back(v.Progress());
    };
    view.OnComplete = [this](TCustomTransitionView&) { log.push_back("complete"); };
  }

  int Count(const std::string& entry) const {
    int n = 0;
    for (const auto& e : log) n += e == entry;
    return n;
  }

  HeadlessClock clock;
  HeadlessLoop loop{clock};
  HeadlessHost host;
  std::unique_ptr<TTransitionView> owned = std::make_unique<TTransitionView>(host, loop, clock);
  TTransitionView& view = *owned;
  std::vector<std::string> log;
  std::vector<int32_t> progress;
};

}  // namespace ss::view_test
