#pragma once
// The black windows over every monitor but the primary one, which the show covers. Input on
// them is the show's input: keys, presses and moves are handed on, the moves in the show
// window's client coordinates, so that one anchor measures the pointer across every monitor.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace ss {

struct CoverInput {
  std::function<void(uint32_t key, uint32_t shift)> key_down;
  std::function<void(MouseButton button, uint32_t shift, Point show_client)> mouse_down;
  std::function<void(uint32_t shift, Point show_client)> mouse_move;
};

class MonitorCovers {
 public:
  MonitorCovers();
  ~MonitorCovers();
  MonitorCovers(const MonitorCovers&) = delete;
  MonitorCovers& operator=(const MonitorCovers&) = delete;

  // One black window over each other monitor, shown without the activation; topmost when the
  // show is. `show_origin` is the show window's top-left in the same coordinates.
  void cover(Platform& platform, Point show_origin, bool topmost, CoverInput input);
  // Closes and drops every cover; nothing happens once they are gone.
  void close();

 private:
  class Cover;
  CoverInput input_;  // the covers hold on to it
  std::vector<std::unique_ptr<Cover>> covers_;
};

}  // namespace ss
