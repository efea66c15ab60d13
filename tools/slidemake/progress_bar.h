#pragma once
// A one-line progress bar for long writes; silent when stderr is not a terminal. A listener, when
// given, hears every advance (the studio shows the bar in the page).
#include <cstdint>
#include <functional>
#include <string>

namespace slidemake {

class ProgressBar {
 public:
  using Listener = std::function<void(int64_t done, int64_t total)>;
  ProgressBar(std::string label, int64_t total, Listener listener = {});
  ~ProgressBar();
  void advance(int64_t bytes);
  void finish();

 private:
  void draw();
  std::string label_;
  int64_t total_;
  int64_t done_ = 0;
  int last_permille_ = -1;
  bool enabled_;
  bool finished_ = false;
  Listener listener_;
};

}  // namespace slidemake
