#pragma once
// What the SDL backend's tests run on: a private X server (Xvfb, on a display it picks itself),
// child processes with a time limit, pictures of the screen read back from the server, and
// savers built from the Linux runtime in a scratch folder.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gfx/bitmap24.h"
#include "package/ss_file_locations.h"

namespace sdl_test {

// A virtual X server for one test. running() is false when Xvfb is not installed.
class Xvfb {
 public:
  Xvfb(int width, int height);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  bool running() const { return pid_ > 0 && !display_.empty(); }
  // ":N"; also set as DISPLAY for this process and its children.
  const std::string& display() const { return display_; }

  // The window's content as the server has it now (the root window when 0).
  ss::Bitmap24 grab(uint32_t window = 0) const;
  // A plain mapped window of ours, white, at (x, y); 0 when it cannot be made.
  uint32_t make_window(int x, int y, int width, int height);

 private:
  pid_t pid_ = -1;
  std::string display_;
  void* connection_ = nullptr;  // Display*, for grabs and our own windows
};

// A program run with the environment of this process.
class Child {
 public:
  explicit Child(const std::vector<std::string>& argv);
  ~Child();  // kills it when it still runs
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }
  // The exit code once it has ended within timeout_ms; nothing when it still runs.
  std::optional<int> wait(int timeout_ms);
  void signal(int number);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Runs a program to its end (at most 10 s); its exit code, or -1.
int run_program(const std::vector<std::string>& argv);

// The directory of the built programs (the test environment's SLIDESAVER_BIN).
std::string bin_dir();

// A scratch folder removed at the end.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  // A saver made from the Linux runtime with these pictures (as bitmaps) and music.
  std::string build_saver(const std::vector<ss::Bitmap24>& pictures,
                          const ss::TSSFileLocations& settings,
                          const std::vector<std::string>& music = {}) const;

 private:
  std::filesystem::path root_;
};

ss::Bitmap24 solid(int32_t width, int32_t height, ss::Color color);
// A mono 16-bit WAV file of silence.
std::string silent_wav(int milliseconds);
// True when the colours differ by at most `tolerance` in each channel.
bool near(ss::Color a, ss::Color b, int tolerance = 8);

// Polls until check() holds for a grab, or timeout_ms have passed; returns the last grab.
template <typename Check>
ss::Bitmap24 grab_until(const Xvfb& x, uint32_t window, int timeout_ms, Check check) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    ss::Bitmap24 image = x.grab(window);
    if (!image.empty() && check(image)) return image;
    if (std::chrono::steady_clock::now() >= end) return image;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace sdl_test
