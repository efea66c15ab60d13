#include "platform/headless/headless_flash.h"

#include <algorithm>

#include "base/error.h"
#include "base/path.h"
#include "platform/headless/headless_window.h"

namespace ss {

HeadlessFlashControl::HeadlessFlashControl(HeadlessContext& context, HeadlessWindow* parent)
    : context_(context), parent_(parent) {
  if (parent_ != nullptr) parent_->add_child(this);
  context_.flash_controls.push_back(this);
}

HeadlessFlashControl::~HeadlessFlashControl() {
  if (parent_ != nullptr) parent_->remove_child(this);
  HeadlessContext::forget(context_.flash_controls, this);
}

void HeadlessFlashControl::set_bounds(const Rect& rect) {
  context_.log.add("flash.bounds " + format_rect(rect));
  bounds_ = rect;
}

void HeadlessFlashControl::set_visible(bool visible) {
  if (visible == visible_) return;
  context_.log.add(std::string("flash.visible ") + (visible ? "1" : "0"));
  visible_ = visible;
}

const FlashMovieConfig& HeadlessFlashControl::movie_config() const {
  const auto found = context_.config.flash_movies.find(file_name_of(movie_));
  return found != context_.config.flash_movies.end() ? found->second
                                                     : context_.config.flash_default;
}

void HeadlessFlashControl::set_movie(const std::string& path) {
  context_.log.add("flash.movie " + path);
  movie_ = path;
  playing_ = false;
  frame_at_start_ = 0;
}

void HeadlessFlashControl::play() {
  if (movie_.empty() || movie_config().play_fails) {
    context_.log.add("flash.play -> failed");
    throw SaverError("The movie cannot be played");
  }
  context_.log.add("flash.play");
  if (playing_) return;
  playing_ = true;
  started_ms_ = context_.app.now_ms();
}

void HeadlessFlashControl::pause() {
  frame_at_start_ = current_frame();
  playing_ = false;
}

void HeadlessFlashControl::stop() {
  context_.log.add("flash.stop");
  pause();
}

void HeadlessFlashControl::stop_play() {
  context_.log.add("flash.stop_play");
  pause();
}

int32_t HeadlessFlashControl::total_frames() {
  return movie_.empty() ? 0 : std::max(0, movie_config().total_frames);
}

int32_t HeadlessFlashControl::current_frame() {
  const int64_t total =
      movie_config().numbered_from_zero ? std::max(0, total_frames() - 1) : total_frames();
  if (!playing_) return static_cast<int32_t>(std::min<int64_t>(frame_at_start_, total));
  const uint64_t elapsed = context_.app.now_ms() - started_ms_;
  const uint64_t advanced = elapsed / 1000 * context_.config.flash_frames_per_second +
                            elapsed % 1000 * context_.config.flash_frames_per_second / 1000;
  return static_cast<int32_t>(std::min<uint64_t>(frame_at_start_ + advanced, total));
}

bool HeadlessFlashControl::is_playing() {
  if (!playing_) return false;
  // A movie numbered from 0 stops by itself on its last frame.
  const int32_t total = total_frames();
  return !movie_config().numbered_from_zero || total == 0 || current_frame() < total - 1;
}

void HeadlessFlashControl::raise_fs_command(const std::string& command, const std::string& args) {
  // Copied: the handler may destroy the control.
  const auto handler = fs_command_;
  if (handler) handler(command, args);
}

std::unique_ptr<FlashControl> HeadlessFlashFactory::create(ShowWindow& parent) {
  if (!context_.config.flash_installed) {
    context_.log.add("flash.create -> failed");
    throw SaverError("Class not registered");
  }
  context_.log.add("flash.create");
  return std::make_unique<HeadlessFlashControl>(context_, dynamic_cast<HeadlessWindow*>(&parent));
}

}  // namespace ss
