// The SDL backend under a private Xvfb screen of 1920 × 1080:
// - BM_TransitionPresent: frames presented per second while a full-screen transition runs
//   with no pacing (Step 1, Delay 0), so the figure is what composing, converting, uploading
//   and presenting a frame costs. The show itself paces at 25 frames a second.
// - BM_WaitBetweenSlides: the share of a core the whole saver process uses while the show
//   waits for its next slide. The loop sleeps in SDL's wait: the target is under 0.01.
// Without Xvfb the program reports the skip and succeeds, so that building never depends on
// a display.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>

#include "base/random.h"
#include "common/bmp_encoder.h"
#include "package/picture.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_window.h"
#include "show/input_hook.h"
#include "show/saver_mode.h"
#include "show/show_form.h"
#include "slidemake/package_builder.h"
#include "transition/transition_view.h"

extern char** environ;

// The display libraries keep caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libX11\nleak:libSDL2\nleak:libdbus\n";
}

namespace ss {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

double cpu_seconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double wall_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Starts Xvfb on a display it picks and points DISPLAY at it; the server's pid, or -1.
pid_t start_xvfb() {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  std::string fd = std::to_string(fds[1]);
  std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
  const char* argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                        screen.c_str(), "-nolisten",  "tcp",      nullptr};
  pid_t pid = -1;
  if (posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    pid = -1;
  ::close(fds[1]);
  std::string number;
  pollfd ready{fds[0], POLLIN, 0};
  while (pid > 0 && ::poll(&ready, 1, 5000) > 0) {
    char c = 0;
    if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  ::close(fds[0]);
  if (pid > 0 && number.empty()) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return -1;
  }
  if (pid > 0) ::setenv("DISPLAY", (":" + number).c_str(), 1);
  return pid;
}

Bitmap24 gradient(int32_t w, int32_t h, uint8_t blue) {
  Bitmap24 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.set_pixel(x, y, rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), blue));
  return b;
}

void BM_TransitionPresent(benchmark::State& state) {
  SdlConfig config;
  config.surface = HostSurface::kFullscreen;
  SdlPlatform platform(config);
  std::unique_ptr<ShowWindow> window = platform.create_window();
  TTransitionView view(*window, platform.application().loop(), platform.application().clock());
  view.SetThreaded(false);
  view.SetAlign(alClient);
  view.SetStyle(static_cast<int32_t>(state.range(0)));
  view.SetStep(1);
  view.SetDelay(0);
  window->set_bounds({0, 0, kWidth, kHeight});
  window->set_color(kBlack);
  window->show();
  platform.application().loop().process_messages();
  auto& sdl_window = static_cast<SdlWindow&>(*window);

  const Picture pictures[2] = {Picture::from_bitmap(gradient(kWidth, kHeight, 40)),
                               Picture::from_bitmap(gradient(kWidth, kHeight, 220))};
  int which = 0;
  const int frames0 = sdl_window.frames_presented();
  const double wall0 = wall_seconds();
  for (auto _ : state) {
    view.SetPicture(pictures[which ^= 1]);
    view.Execute();
  }
  const double wall = wall_seconds() - wall0;
  state.counters["fps"] = (sdl_window.frames_presented() - frames0) / wall;
  state.SetLabel(sdl_window.renderer_name());
}
// 5: a wipe, 51: the default style (a slide), 127: a blend of whole frames.
BENCHMARK(BM_TransitionPresent)
    ->Arg(5)
    ->Arg(51)
    ->Arg(127)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// A saver of two 1920 × 1080 pictures in a scratch folder, run in this process.
class ScratchSaver {
 public:
  ScratchSaver()
      : root_(std::filesystem::temp_directory_path() /
              ("ss-bench-sdl-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(root_ / "tmp");
    slidemake::Manifest manifest;
    for (int i = 0; i < 2; ++i) {
      const std::vector<uint8_t> bmp = encode_bmp(gradient(kWidth, kHeight, i == 0 ? 40 : 220));
      const std::filesystem::path file = root_ / ("p" + std::to_string(i) + ".bmp");
      std::FILE* out = std::fopen(file.c_str(), "wb");
      std::fwrite(bmp.data(), 1, bmp.size(), out);
      std::fclose(out);
      manifest.pictures.push_back({.path = file.string()});
    }
    manifest.settings.Ver = "photo";
    manifest.settings.Interval = 5000;
    manifest.settings.Text = "slidesaver";
    manifest.settings.EffectCommaList.set_comma_text("51");
    const std::filesystem::path runtime = root_ / "runtime";
    std::FILE* stand_in = std::fopen(runtime.c_str(), "wb");
    std::fputs("runtime", stand_in);
    std::fclose(stand_in);
    slidemake::build_saver(manifest, runtime.string(), path());
  }
  ~ScratchSaver() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string path() const { return (root_ / "saver").string(); }
  std::string temp() const { return (root_ / "tmp").string(); }

 private:
  std::filesystem::path root_;
};

void BM_WaitBetweenSlides(benchmark::State& state) {
  ScratchSaver saver;
  set_random_seed(0);
  set_saver_mode(smShow);
  show_process_state() = ShowProcessState{};
  SdlConfig config;
  config.executable_path = saver.path();
  config.temp_directory = saver.temp();
  SdlPlatform platform(config);
  TfrmScrn form(platform);
  Application& app = platform.application();

  // The first slide's transition is over after about a second; the next is due at 6 s.
  double cpu0 = 0;
  double wall0 = 0;
  double share = 0;
  std::unique_ptr<Timer> start = app.create_timer();
  std::unique_ptr<Timer> stop = app.create_timer();
  start->set_interval(2000);
  start->set_handler([&] {
    start->set_enabled(false);
    cpu0 = cpu_seconds();
    wall0 = wall_seconds();
  });
  stop->set_interval(5000);
  stop->set_handler([&] {
    share = (cpu_seconds() - cpu0) / (wall_seconds() - wall0);
    app.terminate();
  });
  for (auto _ : state) app.run();
  state.counters["cpu_share"] = share;
}
BENCHMARK(BM_WaitBetweenSlides)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace ss

int main(int argc, char** argv) {
  const pid_t xvfb = ss::start_xvfb();
  if (xvfb <= 0) {
    std::puts("bench_sdl_present: skipped, Xvfb is not installed");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ::kill(xvfb, SIGTERM);
  ::waitpid(xvfb, nullptr, 0);
  return 0;
}
