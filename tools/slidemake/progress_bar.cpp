#include "progress_bar.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace slidemake {
namespace {
// Packages smaller than this build in a blink; a bar would only flicker.
constexpr int64_t kMinimumBytesForBar = 32 * 1024 * 1024;
}  // namespace

ProgressBar::ProgressBar(std::string label, int64_t total, Listener listener)
    : label_(std::move(label)),
      total_(total > 0 ? total : 1),
      enabled_(!listener && total >= kMinimumBytesForBar && isatty(fileno(stderr))),
      listener_(std::move(listener)) {}

ProgressBar::~ProgressBar() {
  if (enabled_ && !finished_) std::fputc('\n', stderr);
}

void ProgressBar::advance(int64_t bytes) {
  done_ += bytes;
  if (listener_) listener_(done_, total_);
  if (enabled_) draw();
}

void ProgressBar::finish() {
  if (!enabled_ || finished_) return;
  done_ = total_;
  draw();
  std::fputc('\n', stderr);
  finished_ = true;
}

void ProgressBar::draw() {
  const int permille = static_cast<int>(done_ * 1000 / total_);
  if (permille == last_permille_) return;
  last_permille_ = permille;
  constexpr int kWidth = 40;
  const int filled = permille * kWidth / 1000;
  std::fprintf(stderr, "\r%s [%-*s] %3d%%  %lld/%lld MiB", label_.c_str(), kWidth,
               std::string(static_cast<size_t>(filled), '#').c_str(), permille / 10,
               static_cast<long long>(done_ >> 20), static_cast<long long>(total_ >> 20));
  std::fflush(stderr);
}

}  // namespace slidemake
