#pragma once
// What the parts of the headless platform share: the configuration, the call log, the
// application with its clock and loop, the screen image the windows paint into, and the
// registers of live windows and movie controls. The platform owns it; every object the
// platform hands out keeps a reference, so the platform must outlive them.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "gfx/bitmap24.h"
#include "platform/files.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_application.h"
#include "platform/headless/headless_config.h"

namespace ss {

class HeadlessWindow;
class HeadlessFlashControl;
class HeadlessDesktop;

struct HeadlessContext {
  HeadlessConfig& config;
  CallLog& log;
  HeadlessApplication& app;
  FileSystem& files;
  HeadlessDesktop& desktop;

  // The primary screen as the windows have painted it, made on first use (tests that never
  // paint don't pay for it).
  Bitmap24& screen() {
    if (screen_image.empty()) screen_image.resize(config.screen_size.x, config.screen_size.y);
    return screen_image;
  }
  Bitmap24 screen_image;
  std::function<void(const Bitmap24& screen)> on_frame_presented;
  int frames_presented = 0;

  // Live objects in creation order.
  std::vector<HeadlessWindow*> windows;
  std::vector<HeadlessWindow*> covers;  // the windows over the other monitors
  std::vector<HeadlessFlashControl*> flash_controls;
  intptr_t next_window_handle = 0x10010;

  template <typename T>
  static void forget(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
  }
};

}  // namespace ss
