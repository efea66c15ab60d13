#pragma once
// The movie control of the "flash" kind, without movies. A loaded movie has the frame count
// the configuration gives for its file name; while it plays, current_frame advances at the
// configured rate on the virtual clock and stops at the total. Movie commands come from the
// input script (flash_command) and reach the latest control.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/form_window.h"
#include "platform/flash_control.h"
#include "platform/headless/headless_context.h"

namespace ss {

class HeadlessWindow;

class HeadlessFlashControl final : public FlashControl, public CoveringChild {
 public:
  // parent may be null for a window of another backend; the control then covers nothing.
  HeadlessFlashControl(HeadlessContext& context, HeadlessWindow* parent);
  ~HeadlessFlashControl() override;
  HeadlessFlashControl(const HeadlessFlashControl&) = delete;
  HeadlessFlashControl& operator=(const HeadlessFlashControl&) = delete;

  void set_bounds(const Rect& rect) override;
  void set_visible(bool visible) override;
  bool visible() const override { return visible_; }
  void set_movie(const std::string& path) override;
  void play() override;
  void stop() override;
  void stop_play() override;
  int32_t total_frames() override;
  int32_t current_frame() override;
  bool is_playing() override;
  void set_fs_command_handler(
      std::function<void(const std::string& command, const std::string& args)> handler) override {
    fs_command_ = std::move(handler);
  }

  // The test's side.
  Rect bounds() const override { return bounds_; }
  const std::string& movie() const { return movie_; }
  bool playing() const { return playing_; }
  // A command from the movie, as the control raises it.
  void raise_fs_command(const std::string& command, const std::string& args);
  // The parent window is going before its child.
  void forget_parent() { parent_ = nullptr; }

 private:
  const FlashMovieConfig& movie_config() const;
  void pause();

  HeadlessContext& context_;
  HeadlessWindow* parent_;
  Rect bounds_;
  bool visible_ = true;
  std::string movie_;
  bool playing_ = false;
  int32_t frame_at_start_ = 0;
  uint64_t started_ms_ = 0;
  std::function<void(const std::string&, const std::string&)> fs_command_;
};

class HeadlessFlashFactory final : public FlashFactory {
 public:
  explicit HeadlessFlashFactory(HeadlessContext& context) : context_(context) {}
  // Throws SaverError when the configuration says the control is not installed.
  std::unique_ptr<FlashControl> create(ShowWindow& parent) override;

 private:
  HeadlessContext& context_;
};

}  // namespace ss
