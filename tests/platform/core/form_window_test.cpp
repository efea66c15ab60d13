// The form window's shared logic over a scripted surface: the paths that only some systems
// take (the system's own paint message with partial areas, a window shown before its
// activation, private messages through the system's queue, a window destroyed underneath).
#include "platform/core/form_window.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ss {
namespace {

using Strings = std::vector<std::string>;

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlack = 0x000000;

std::string text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

class ScriptedSurface final : public NativeSurface {
 public:
  explicit ScriptedSurface(bool system_paints) : system_paints_(system_paints) {}

  Bitmap24& client_image() override { return image; }
  Point client_origin() const override { return origin; }
  void present(const Rect& changed) override { log.push_back("present " + text(changed)); }
  void place(const Rect& r) override {
    if (shared_image) return;
    image.resize(r.width(), r.height());
  }
  void show_native(ShowStage stage) override {
    log.push_back("stage " + std::to_string(static_cast<int>(stage)));
    if (stage == ShowStage::kBeforeActivation && on_show) on_show();
  }
  void window_closed() override { log.push_back("closed"); }
  void raise_topmost() override { log.push_back("topmost"); }
  void release_mouse_capture() override { log.push_back("release"); }
  void track_leave() override { log.push_back("track"); }
  intptr_t window_handle() const override { return 0x42; }
  void post(Task task) override { posted.push_back(std::move(task)); }
  bool post_system_message(uint32_t message) override {
    if (!system_queue) return false;
    log.push_back("system message " + std::to_string(message));
    return true;
  }
  bool system_paints() const override { return system_paints_; }
  void invalidate_system(const Rect& area) override { log.push_back("invalid " + text(area)); }
  void update_system() override { log.push_back("update"); }

  void run_posted() {
    while (!posted.empty()) {
      Task task = std::move(posted.front());
      posted.pop_front();
      task();
    }
  }

  Bitmap24 image;
  Point origin{0, 0};
  bool shared_image = false;
  bool system_queue = false;
  std::function<void()> on_show;  // the system's activation while the window appears
  Strings log;
  std::deque<Task> posted;

 private:
  bool system_paints_;
};

class Form final : public FormEvents {
 public:
  void handle_show() override {
    log.push_back("show");
    if (on_show) on_show();
  }
  void handle_activate() override { log.push_back("activate"); }
  void handle_key_down(uint32_t key, uint32_t) override {
    log.push_back("key " + std::to_string(key));
  }
  void handle_mouse_move(uint32_t, int32_t x, int32_t y) override {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void handle_mouse_down(MouseButton, uint32_t, int32_t x, int32_t y) override {
    log.push_back("press " + std::to_string(x) + "," + std::to_string(y));
  }
  void handle_user_message(uint32_t message) override {
    log.push_back("message " + std::to_string(message));
  }
  void handle_close() override { log.push_back("close"); }

  std::function<void()> on_show;
  Strings log;
};

// Paints a solid colour over its area, or nothing while it has no picture.
class SolidControl final : public HostedControl {
 public:
  SolidControl(Rect area, Color color) : area_(area), image_(area.width(), area.height()) {
    fill(color);
  }
  void fill(Color color) {
    for (int32_t y = 0; y < image_.height(); ++y)
      for (int32_t x = 0; x < image_.width(); ++x) image_.set_pixel(x, y, color);
  }
  Rect bounds_in_parent() const override { return area_; }
  void handle_paint(ControlCanvas& canvas) override {
    ++paints;
    if (has_picture) canvas.copy_from(image_);
  }
  void handle_parent_resized(const Rect&) override {}
  void handle_mouse_enter() override { log.push_back("enter"); }
  void handle_mouse_leave() override { log.push_back("leave"); }
  void handle_mouse_down(const MouseInput& in) override {
    log.push_back("down " + std::to_string(in.x) + "," + std::to_string(in.y));
  }
  void handle_mouse_move(const MouseInput& in) override {
    log.push_back("move " + std::to_string(in.x) + "," + std::to_string(in.y));
  }
  void handle_mouse_up(const MouseInput&) override {}

  bool has_picture = true;
  int paints = 0;
  Strings log;

 private:
  Rect area_;
  Bitmap24 image_;
};

class Cover final : public CoveringChild {
 public:
  explicit Cover(Rect r) : r_(r) {}
  bool visible() const override { return shown; }
  Rect bounds() const override { return r_; }
  bool shown = true;

 private:
  Rect r_;
};

TEST(FormWindowSystemPaints,
     APartialPaintWritesAndPresentsOnlyItsAreaAndFillsOnlyWhatTheControlLeaves) {
  ScriptedSurface surface(/*system_paints=*/true);
  FormWindow window(surface);
  SolidControl control({10, 10, 30, 30}, kGreen);
  window.set_bounds({0, 0, 40, 40});
  window.attach(&control);
  window.set_color(kRed);
  window.show();
  EXPECT_EQ(surface.log, (Strings{"invalid 0,0,40,40", "invalid 10,10,30,30", "invalid 0,0,40,40",
                                  "stage 0", "stage 1", "stage 2", "invalid 0,0,40,40"}))
      << "the system keeps the invalid area; nothing is posted";
  EXPECT_TRUE(surface.posted.empty());

  window.paint_area({0, 0, 40, 40});
  EXPECT_EQ(surface.image.pixel(0, 0), kRed);
  EXPECT_EQ(surface.image.pixel(10, 10), kGreen);

  // A frame of the control that changes only part of its area.
  control.fill(kBlack);
  surface.log.clear();
  window.invalidate({12, 12, 16, 16});
  window.repaint_now();
  window.paint_area({12, 12, 16, 16});
  EXPECT_EQ(surface.log, (Strings{"invalid 12,12,16,16", "update", "present 12,12,16,16"}));
  EXPECT_EQ(surface.image.pixel(12, 12), kBlack);
  EXPECT_EQ(surface.image.pixel(15, 15), kBlack);
  EXPECT_EQ(surface.image.pixel(16, 16), kGreen) << "outside the painted area";
  EXPECT_EQ(surface.image.pixel(11, 11), kGreen) << "outside the painted area";

  // An area the control covers is not filled: a control without a picture leaves it as it was.
  control.has_picture = false;
  window.paint_area({20, 20, 25, 25});
  EXPECT_EQ(surface.image.pixel(22, 22), kGreen);
  // An area reaching past the control is filled where the control does not paint.
  window.paint_area({25, 25, 35, 35});
  EXPECT_EQ(surface.image.pixel(27, 27), kRed);
  EXPECT_EQ(surface.image.pixel(32, 32), kRed);
}

TEST(FormWindowSystemPaints, ANewColourIsFilledEvenUnderTheControlUntilTheWholeClientIsPainted) {
  ScriptedSurface surface(true);
  FormWindow window(surface);
  SolidControl control({0, 0, 20, 20}, kGreen);
  control.has_picture = false;
  window.set_bounds({0, 0, 20, 20});
  window.attach(&control);
  window.show();
  window.set_color(kRed);
  window.paint_area({0, 0, 5, 5});
  EXPECT_EQ(surface.image.pixel(2, 2), kRed);
  window.paint_area({0, 0, 20, 20});
  EXPECT_EQ(surface.image.pixel(10, 10), kRed);
  window.set_color(kGreen);
  surface.image.set_pixel(3, 3, kBlack);
  window.paint_area({0, 0, 20, 20});
  EXPECT_EQ(surface.image.pixel(3, 3), kGreen);
  surface.image.set_pixel(3, 3, kBlack);
  window.paint_area({0, 0, 20, 20});
  EXPECT_EQ(surface.image.pixel(3, 3), kBlack) << "a clean background under the control stays";
}

TEST(FormWindowPostedPaints,
     InvalidationsShareOnePaintThatCoversTheControlOnceTheBackgroundIsClean) {
  ScriptedSurface surface(false);
  FormWindow window(surface);
  SolidControl control({4, 4, 12, 12}, kGreen);
  window.attach(&control);
  window.set_bounds({0, 0, 16, 16});
  window.invalidate({5, 5, 6, 6});
  EXPECT_TRUE(surface.posted.empty()) << "a hidden window paints nothing";
  window.show();
  window.invalidate({5, 5, 6, 6});
  window.set_color(kRed);
  ASSERT_EQ(surface.posted.size(), 1u);
  surface.run_posted();
  EXPECT_EQ(surface.log.back(), "present 0,0,16,16");
  EXPECT_EQ(surface.image.pixel(0, 0), kRed);

  window.invalidate({5, 5, 6, 6});
  window.invalidate({7, 7, 8, 8});
  surface.run_posted();
  EXPECT_EQ(surface.log.back(), "present 4,4,12,12") << "only the control changes";
  EXPECT_EQ(control.paints, 2);

  window.repaint_now();
  EXPECT_EQ(control.paints, 3) << "at once, with nothing posted";
  EXPECT_TRUE(surface.posted.empty());
}

TEST(FormWindowPostedPaints, ASharedImagePaintsAtTheWindowsPlaceClippedToTheImage) {
  ScriptedSurface surface(false);
  surface.shared_image = true;
  surface.image.resize(32, 32);
  surface.origin = {24, 8};
  FormWindow window(surface);
  SolidControl control({2, 2, 12, 12}, kGreen);
  window.attach(&control);
  window.set_bounds({24, 8, 40, 24});
  window.set_color(kRed);
  window.show();
  surface.run_posted();
  EXPECT_EQ(surface.image.pixel(24, 8), kRed);
  EXPECT_EQ(surface.image.pixel(26, 10), kGreen);
  EXPECT_EQ(surface.image.pixel(31, 31), kBlack) << "below the window";
  EXPECT_EQ(surface.image.pixel(23, 9), kBlack) << "left of the window";
}

TEST(FormWindowPostedPaints, MessagesPostedForAWindowThatIsGoneDoNothing) {
  ScriptedSurface surface(false);
  Form form;
  auto window = std::make_unique<FormWindow>(surface);
  window->set_events(&form);
  window->set_bounds({0, 0, 8, 8});
  window->show();
  window->post_user_message(0x401);
  EXPECT_EQ(surface.posted.size(), 2u) << "the paint and the message";
  window.reset();
  surface.run_posted();
  EXPECT_EQ(form.log, (Strings{"show", "activate"}));
}

TEST(FormWindowShow, ASurfaceShownBeforeTheActivationIgnoresTheSystemsActivationMeanwhile) {
  ScriptedSurface surface(true);
  Form form;
  FormWindow window(surface);
  window.set_events(&form);
  surface.on_show = [&] { window.activated(); };
  window.show();
  EXPECT_EQ(form.log, (Strings{"show", "activate"})) << "one activation, the form's own";
  window.activated();
  EXPECT_EQ(form.log.back(), "activate") << "later activations reach the form";
  EXPECT_EQ(form.log.size(), 3u);
  window.show();
  EXPECT_EQ(form.log.size(), 3u) << "a visible window is not shown again";
}

TEST(FormWindowShow, AFormThatClosesInItsShowHandlerIsNeitherShownNorActivated) {
  ScriptedSurface surface(true);
  Form form;
  FormWindow window(surface);
  window.set_events(&form);
  form.on_show = [&] { window.close(); };
  window.show();
  EXPECT_EQ(form.log, (Strings{"show", "close"}));
  EXPECT_EQ(surface.log, (Strings{"stage 0", "closed"}));
  EXPECT_FALSE(window.visible());
  window.show();
  EXPECT_EQ(surface.log.size(), 2u) << "a closed window stays closed";
}

TEST(FormWindowClose, AFailingCloseHandlerLeavesTheWindowOpenAndADestroyedWindowClosesOnce) {
  class Failing final : public FormEvents {
   public:
    void handle_show() override {}
    void handle_activate() override {}
    void handle_key_down(uint32_t, uint32_t) override {}
    void handle_mouse_move(uint32_t, int32_t, int32_t) override {}
    void handle_user_message(uint32_t) override {}
    void handle_close() override { throw std::runtime_error("busy"); }
  } failing;
  ScriptedSurface surface(true);
  FormWindow window(surface);
  window.set_events(&failing);
  window.show();
  EXPECT_THROW(window.close(), std::runtime_error);
  EXPECT_TRUE(window.visible());
  EXPECT_FALSE(window.closed());

  surface.log.clear();
  window.destroyed();
  window.destroyed();
  window.set_events(nullptr);
  window.close();
  EXPECT_EQ(surface.log, (Strings{"closed"}));
  EXPECT_TRUE(window.closed());
}

TEST(FormWindowMessages, ASystemQueueCarriesPrivateMessagesAndAClosedWindowDropsThem) {
  ScriptedSurface surface(true);
  surface.system_queue = true;
  Form form;
  FormWindow window(surface);
  window.set_events(&form);
  window.post_user_message(0x402);
  EXPECT_TRUE(surface.posted.empty());
  EXPECT_EQ(surface.log, (Strings{"system message 1026"}));
  window.user_message(0x402);
  window.close();
  window.user_message(0x402);
  EXPECT_EQ(form.log, (Strings{"message 1026", "close"}));
}

TEST(FormWindowInput, HoverAsksForTheLeaveReportAndCoveringChildrenTakeThePointerAndKeys) {
  ScriptedSurface surface(true);
  Form form;
  FormWindow window(surface);
  SolidControl control({0, 0, 10, 10}, kGreen);
  Cover cover({5, 5, 10, 10});
  window.set_events(&form);
  window.set_bounds({0, 0, 20, 20});
  window.attach(&control);
  window.key_down(27, 0);
  window.mouse_move({2, 2}, 0);
  EXPECT_TRUE(form.log.empty()) << "a hidden window takes no input";
  window.show();
  form.log.clear();
  surface.log.clear();

  window.mouse_move({2, 3}, 0);
  window.mouse_move({3, 3}, 0);
  EXPECT_EQ(surface.log, (Strings{"track"})) << "once, on entering the control";
  window.mouse_move({15, 15}, 0);
  window.mouse_button(true, MouseButton::kLeft, {15, 15}, 0);
  window.mouse_button(false, MouseButton::kLeft, {15, 15}, 0);
  window.mouse_button(true, MouseButton::kLeft, {4, 4}, 0);
  window.mouse_button(true, MouseButton::kLeft, {25, 4}, 0);
  EXPECT_EQ(control.log, (Strings{"enter", "move 2,3", "move 3,3", "leave", "down 4,4"}));
  EXPECT_EQ(form.log, (Strings{"move 15,15", "press 15,15"}))
      << "a press beside the control is the form's; a release or a press outside is nobody's";

  window.add_covering_child(&cover);
  control.log.clear();
  form.log.clear();
  window.mouse_move({4, 4}, 0);
  window.mouse_move({6, 6}, 0);
  window.mouse_button(true, MouseButton::kLeft, {6, 6}, 0);
  window.key_down(27, 0);
  EXPECT_EQ(control.log, (Strings{"enter", "move 4,4", "leave"}));
  EXPECT_TRUE(form.log.empty()) << "the child has the keyboard and its area";
  cover.shown = false;
  window.key_down(27, 0);
  window.mouse_left();
  window.remove_covering_child(&cover);
  EXPECT_EQ(form.log, (Strings{"key 27"}));
}

}  // namespace
}  // namespace ss
