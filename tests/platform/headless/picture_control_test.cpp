// The picture control on a headless window: a transition paints through the window into the
// screen image, frame by frame, while scripted input still arrives in the middle of it.
#include <gtest/gtest.h>

#include "package/picture.h"
#include "platform/headless/headless_platform.h"
#include "transition/transition_view.h"

namespace ss {
namespace {

Bitmap24 solid(int32_t w, int32_t h, Color c) {
  Bitmap24 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.set_pixel(x, y, c);
  return b;
}

TEST(HeadlessWindowWithPictureControl, ATransitionPresentsEveryFrameAndEndsOnThePicture) {
  HeadlessConfig config;
  config.screen_size = {80, 60};
  config.input = {key_down(100, 27)};
  HeadlessPlatform platform(config);
  std::unique_ptr<ShowWindow> window = platform.create_window();
  Application& app = platform.application();
  TTransitionView view(*window, app.loop(), app.clock());
  view.SetAlign(alClient);
  view.SetThreaded(false);
  view.SetColor(kBlack);
  window->set_bounds({0, 0, 80, 60});
  window->show();
  platform.run_for(10);

  uint64_t key_at = 0;
  struct KeyForm final : FormEvents {
    explicit KeyForm(HeadlessPlatform& p, uint64_t& at) : platform(p), key_at(at) {}
    void handle_show() override {}
    void handle_activate() override {}
    void handle_key_down(uint32_t, uint32_t) override { key_at = platform.now_ms(); }
    void handle_mouse_move(uint32_t, int32_t, int32_t) override {}
    void handle_user_message(uint32_t) override {}
    void handle_close() override {}
    HeadlessPlatform& platform;
    uint64_t& key_at;
  } form(platform, key_at);
  window->set_events(&form);

  std::vector<Color> centre;
  platform.set_frame_presented(
      [&](const Bitmap24& screen) { centre.push_back(screen.pixel(40, 30)); });
  view.SetPicture(Picture::from_bitmap(solid(80, 60, kWhite)));
  view.SetStyle(1);
  view.SetStep(10);
  view.SetDelay(40);
  view.Execute();

  EXPECT_GE(centre.size(), 10u);
  EXPECT_EQ(centre.back(), kWhite);
  EXPECT_EQ(platform.screen().pixel(0, 0), kWhite);
  EXPECT_EQ(key_at, 100u) << "input arrives while the transition pumps the loop";
  EXPECT_GE(platform.now_ms(), 360u);
}

}  // namespace
}  // namespace ss
