// How much of a core the unthreaded transition loop uses while it waits between frames. The
// show runs its transitions this way: 25 steps of at least 40 ms each on the GUI thread, which
// keeps processing messages in between. The wait must sleep until a message arrives or the
// frame is due, never spin: wait_cpu_share is the CPU time spent in the waits divided by their
// wall time, and should stay far below 0.1. cpu_share is the same for the whole transition,
// frame composition and painting of a 1920 × 1080 picture included.
#include <benchmark/benchmark.h>

#include <ctime>

#include "gfx/raster.h"
#include "package/picture.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_loop.h"
#include "transition/transition_view.h"

namespace ss {
namespace {

double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Adds up the CPU and wall time of every wait and message round the control makes.
class MeteredLoop final : public MessageLoop {
 public:
  explicit MeteredLoop(MessageLoop& inner) : inner_(inner) {}

  bool process_messages() override {
    return Metered([&] { return inner_.process_messages(); });
  }
  bool wait_message(uint32_t timeout_ms) override {
    return Metered([&] { return inner_.wait_message(timeout_ms); });
  }
  bool serve_requests(uint32_t timeout_ms) override { return inner_.serve_requests(timeout_ms); }
  void post(Task task) override { inner_.post(std::move(task)); }
  void queue(Task task) override { inner_.queue(std::move(task)); }
  void synchronize(const Task& task) override { inner_.synchronize(task); }
  bool is_gui_thread() const override { return inner_.is_gui_thread(); }

  double cpu = 0;
  double wall = 0;

 private:
  template <typename F>
  bool Metered(F&& f) {
    const double cpu0 = CpuSeconds();
    const double wall0 = WallSeconds();
    const bool result = f();
    cpu += CpuSeconds() - cpu0;
    wall += WallSeconds() - wall0;
    return result;
  }

  MessageLoop& inner_;
};

// A parent window in memory that the control paints into at once.
class SurfaceHost final : public ControlHost {
 public:
  SurfaceHost(int32_t w, int32_t h) : surface_(w, h) {}
  void attach(HostedControl* control) override { control_ = control; }
  Rect parent_client_rect() const override { return surface_.bounds(); }
  void invalidate(const Rect&) override {}
  void repaint_now() override {
    if (control_ == nullptr) return;
    Canvas canvas(surface_);
    control_->handle_paint(canvas);
  }
  bool design_time() const override { return false; }

 private:
  struct Canvas final : ControlCanvas {
    explicit Canvas(Bitmap24& s) : surface(s) {}
    void copy_from(const Bitmap24& image) override { draw(surface, 0, 0, image); }
    Bitmap24& surface;
  };
  Bitmap24 surface_;
  HostedControl* control_ = nullptr;
};

Picture Gradient(int32_t w, int32_t h) {
  Bitmap24 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.set_pixel(x, y, rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 128));
  return Picture::from_bitmap(std::move(b));
}

void BM_UnthreadedDefaultTransition(benchmark::State& state) {
  PosixClock clock;
  PosixLoop native;
  MeteredLoop loop(native);
  SurfaceHost host(1920, 1080);
  TTransitionView view(host, loop, clock);
  view.SetThreaded(false);
  view.SetAlign(alClient);
  view.SetCenter(true);
  view.SetStyle(5);  // a wipe: one piece copy per frame
  view.SetPicture(Gradient(1920, 1080));

  const double cpu0 = CpuSeconds();
  const double wall0 = WallSeconds();
  for (auto _ : state) view.Execute();
  const double cpu = CpuSeconds() - cpu0;
  const double wall = WallSeconds() - wall0;

  state.counters["cpu_share"] = cpu / wall;
  state.counters["wait_cpu_share"] = loop.wall > 0 ? loop.cpu / loop.wall : 0;
  state.counters["wait_share_of_time"] = loop.wall / wall;
}
BENCHMARK(BM_UnthreadedDefaultTransition)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace ss

BENCHMARK_MAIN();
