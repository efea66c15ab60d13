#include "display_rig.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "common/bmp_encoder.h"
#include "slidemake/package_builder.h"

extern char** environ;

namespace sdl_test {
namespace {

constexpr int kServerStartMs = 5000;

pid_t spawn(const std::vector<std::string>& argv) {
  std::vector<std::string> copies = argv;
  std::vector<char*> pointers;
  for (std::string& a : copies) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) return -1;
  return pid;
}

Display* as_display(void* connection) {
  return static_cast<Display*>(connection);
}

}  // namespace

Xvfb::Xvfb(int width, int height) {
  // The savers these tests start are checked for what they show and how they end; under the
  // sanitizers their display drivers' allocations would only make noise at exit.
  ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
  int fds[2];
  if (::pipe(fds) != 0) return;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  pid_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten",
                "tcp", "-nocursor"});
  ::close(fds[1]);
  // The server writes its display number when it is ready for clients.
  std::string number;
  pollfd ready{fds[0], POLLIN, 0};
  while (pid_ > 0 && ::poll(&ready, 1, kServerStartMs) > 0) {
    char c = 0;
    if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  ::close(fds[0]);
  if (number.empty()) return;
  display_ = ":" + number;
  ::setenv("DISPLAY", display_.c_str(), 1);
  connection_ = XOpenDisplay(display_.c_str());
}

Xvfb::~Xvfb() {
  if (connection_ != nullptr) XCloseDisplay(as_display(connection_));
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
}

ss::Bitmap24 Xvfb::grab(uint32_t window) const {
  Display* display = as_display(connection_);
  if (display == nullptr) return {};
  const Window target = window != 0 ? window : DefaultRootWindow(display);
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, target, &attributes) == 0) return {};
  XImage* image = XGetImage(display, target, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  ss::Bitmap24 result(attributes.width, attributes.height);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      result.set_pixel(x, y, ss::rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
  }
  XDestroyImage(image);
  return result;
}

uint32_t Xvfb::make_window(int x, int y, int width, int height) {
  Display* display = as_display(connection_);
  if (display == nullptr) return 0;
  const int screen = DefaultScreen(display);
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, 0, WhitePixel(display, screen));
  XMapWindow(display, window);
  XSync(display, False);
  return static_cast<uint32_t>(window);
}

Child::Child(const std::vector<std::string>& argv) : pid_(spawn(argv)) {}

Child::~Child() {
  if (pid_ <= 0 || status_) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

std::optional<int> Child::wait(int timeout_ms) {
  if (status_ || pid_ <= 0) return status_;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void Child::signal(int number) {
  if (pid_ > 0 && !status_) ::kill(pid_, number);
}

int run_program(const std::vector<std::string>& argv) {
  Child child(argv);
  return child.wait(10'000).value_or(-1);
}

std::string bin_dir() {
  const char* bin = std::getenv("SLIDESAVER_BIN");
  return bin != nullptr ? bin : "build/linux/bin";
}

Scratch::Scratch()
    : root_(std::filesystem::temp_directory_path() /
            ("ss-sdl-test-" + std::to_string(std::random_device{}()))) {
  std::filesystem::create_directories(root_ / "tmp");
}

Scratch::~Scratch() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void Scratch::write(const std::string& name, const std::string& bytes) const {
  std::ofstream(root_ / name, std::ios::binary) << bytes;
}

std::string Scratch::read(const std::string& name) const {
  std::ifstream in(root_ / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Scratch::build_saver(const std::vector<ss::Bitmap24>& pictures,
                                 const ss::TSSFileLocations& settings,
                                 const std::vector<std::string>& music) const {
  slidemake::Manifest manifest;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const std::string file = "picture" + std::to_string(i) + ".bmp";
    const std::vector<uint8_t> bmp = ss::encode_bmp(pictures[i]);
    write(file, std::string(bmp.begin(), bmp.end()));
    manifest.pictures.push_back({.path = path(file)});
  }
  for (size_t i = 0; i < music.size(); ++i) {
    const std::string file = "track" + std::to_string(i) + ".wav";
    write(file, music[i]);
    manifest.music.push_back(path(file));
  }
  manifest.settings = settings;
  // Named after the scratch folder: the instance guard keys on the file name, and tests that
  // run at the same time must not take each other for a second copy.
  const std::string saver = path(root_.filename().string() + ".saver");
  slidemake::build_saver(manifest, bin_dir() + "/slidesaver", saver);
  return saver;
}

ss::Bitmap24 solid(int32_t width, int32_t height, ss::Color color) {
  ss::Bitmap24 image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) image.set_pixel(x, y, color);
  return image;
}

std::string silent_wav(int milliseconds) {
  constexpr uint32_t kRate = 22050;
  const uint32_t data_bytes = kRate * static_cast<uint32_t>(milliseconds) / 1000 * 2;
  std::string wav;
  const auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) wav += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const auto u16 = [&](uint16_t v) {
    wav += static_cast<char>(v & 0xFF);
    wav += static_cast<char>(v >> 8);
  };
  wav += "RIFF";
  u32(36 + data_bytes);
  wav += "WAVEfmt ";
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  wav += "data";
  u32(data_bytes);
  wav.append(data_bytes, '\0');
  return wav;
}

bool near(ss::Color a, ss::Color b, int tolerance) {
  return std::abs(ss::color_red(a) - ss::color_red(b)) <= tolerance &&
         std::abs(ss::color_green(a) - ss::color_green(b)) <= tolerance &&
         std::abs(ss::color_blue(a) - ss::color_blue(b)) <= tolerance;
}

}  // namespace sdl_test
