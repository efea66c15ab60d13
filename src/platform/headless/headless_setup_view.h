#pragma once
// The setup dialog without a screen: it keeps the captions and the box state the dialog's
// logic sets, and a test plays the user (tick the box, press OK, point at and click a label).
// The user's actions reach the dialog only while it is shown and not closed, and a label
// without text, having no area, can be neither pointed at nor clicked.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/application.h"
#include "platform/setup_view.h"

namespace ss {

class HeadlessSetupView final : public SetupView {
 public:
  // Closing the dialog terminates `application`, which must outlive the view.
  HeadlessSetupView(Application& application, intptr_t handle);
  ~HeadlessSetupView() override;
  HeadlessSetupView(const HeadlessSetupView&) = delete;
  HeadlessSetupView& operator=(const HeadlessSetupView&) = delete;

  void set_events(SetupEvents* events) override { events_ = events; }
  void set_window_caption(const std::string& caption) override { window_caption_ = caption; }
  std::string window_caption() const override { return window_caption_; }
  void set_caption(SetupControl control, const std::string& caption) override;
  std::string caption(SetupControl control) const override;
  void set_checked(bool checked) override { checked_ = checked; }
  bool checked() const override { return checked_; }
  void show() override;
  bool visible() const override { return visible_; }
  void close() override;
  intptr_t native_handle() const override { return handle_; }

  // The test's side. Each returns whether the action reached the dialog.
  bool click_mute();
  bool press_ok();
  bool point_at_label(SetupControl label);
  bool leave_label(SetupControl label);
  bool click_label(SetupControl label);
  bool closed() const { return closed_; }
  int show_count() const { return show_count_; }
  // Runs when the view is destroyed (the platform forgets it then).
  void set_on_destroy(std::function<void()> on_destroy) { on_destroy_ = std::move(on_destroy); }

 private:
  bool takes_input() const { return visible_ && !closed_ && events_ != nullptr; }
  bool label_takes_input(SetupControl label) const;

  Application& application_;
  intptr_t handle_;
  SetupEvents* events_ = nullptr;
  std::string window_caption_;
  std::array<std::string, 6> captions_;
  bool checked_ = false;
  bool visible_ = false;
  bool closed_ = false;
  int show_count_ = 0;
  std::function<void()> on_destroy_;
};

}  // namespace ss
