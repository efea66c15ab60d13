#pragma once
// A one-line progress bar for long writes; silent when stderr is not a terminal.
#include <cstdint>
#include <string>

namespace slidemake {

class ProgressBar {
 public:
  ProgressBar(std::string label, int64_t total);
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
};

}  // namespace slidemake
