// The Linux runtime on a real (virtual) X server: what a person sees in a plain window, how a
// key ends the show, and drawing into a window that someone else made, as the screen-saver
// daemon does.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>

#include "display_rig.h"

namespace sdl_test {
namespace {

constexpr ss::Color kPictureRed = ss::rgb(200, 40, 60);
constexpr ss::Color kPictureBlue = ss::rgb(30, 60, 220);
// How long a loaded machine may take to start a saver and finish its first transition; a
// passing run returns as soon as the screen is right.
constexpr int kPatienceMs = 20'000;

std::string describe(const ss::Bitmap24& image, std::initializer_list<ss::Point> points) {
  std::string text;
  for (const ss::Point p : points) {
    char line[64];
    std::snprintf(line, sizeof line, "(%d,%d)=%06x ", p.x, p.y,
                  image.empty() ? 0u : static_cast<unsigned>(image.pixel(p.x, p.y)));
    text += line;
  }
  return text;
}

ss::TSSFileLocations show_settings() {
  ss::TSSFileLocations s;
  s.Ver = "photo";
  s.Interval = 60'000;  // the first slide stays
  s.EffectCommaList.set_comma_text("1");
  s.lShowMouseCursor = true;
  return s;
}

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

// Pixels close to white within the rectangle.
int white_pixels(const ss::Bitmap24& image, const ss::Rect& r) {
  int count = 0;
  for (int32_t y = r.top; y < r.bottom; ++y)
    for (int32_t x = r.left; x < r.right; ++x)
      if (near(image.pixel(x, y), ss::kWhite, 60)) ++count;
  return count;
}

bool shows_red_picture_centred(const ss::Bitmap24& screen) {
  // 400 x 300 in the middle of 800 x 600: x 200..599, y 150..449, black around it.
  return near(screen.pixel(400, 300), kPictureRed) && near(screen.pixel(201, 151), kPictureRed) &&
         near(screen.pixel(598, 448), kPictureRed) && near(screen.pixel(190, 300), ss::kBlack) &&
         near(screen.pixel(400, 140), ss::kBlack) && near(screen.pixel(610, 300), ss::kBlack);
}

TEST(SdlRuntime, PlainWindowShowsTheFirstPictureWithItsCaptionAndAKeyEndsTheShow) {
  Xvfb x(800, 600);
  if (!x.running()) GTEST_SKIP() << "Xvfb is not installed";
  Scratch scratch;
  ss::TSSFileLocations settings = show_settings();
  settings.lExitKeyPress = true;
  settings.Text = "HELLO";
  settings.TextFont.Name = "DejaVu Sans";
  settings.TextFont.Height = -40;
  settings.TextFont.Color = ss::kWhite;
  const std::string saver = scratch.build_saver({solid(400, 300, kPictureRed)}, settings);

  Child show({saver, "--window", "800x600"});
  ASSERT_TRUE(show.started());
  const ss::Bitmap24 screen = grab_until(x, 0, kPatienceMs, [](const ss::Bitmap24& s) {
    return shows_red_picture_centred(s) && white_pixels(s, {300, 540, 500, 600}) > 100;
  });
  ASSERT_FALSE(screen.empty());
  EXPECT_TRUE(shows_red_picture_centred(screen))
      << describe(screen, {{400, 300}, {201, 151}, {598, 448}, {190, 300}, {400, 140}});
  // The caption sits at the bottom, centred; nothing white between it and the picture.
  EXPECT_GT(white_pixels(screen, {300, 540, 500, 600}), 100);
  EXPECT_EQ(white_pixels(screen, {0, 540, 250, 600}), 0);
  EXPECT_EQ(white_pixels(screen, {0, 455, 800, 530}), 0);

  ASSERT_EQ(run_program({"xdotool", "mousemove", "400", "300"}), 0);
  ASSERT_EQ(run_program({"xdotool", "key", "space"}), 0);
  EXPECT_EQ(show.wait(5000), std::optional<int>(0));
}

TEST(SdlRuntime, WindowIdDrawsTheShowIntoAWindowMadeByAnother) {
  Xvfb x(640, 480);
  if (!x.running()) GTEST_SKIP() << "Xvfb is not installed";
  Scratch scratch;
  const std::string saver = scratch.build_saver({solid(160, 120, kPictureBlue)}, show_settings());
  const uint32_t window = x.make_window(50, 40, 320, 240);
  ASSERT_NE(window, 0u);

  Child show({saver, "-window-id", hex(window)});
  ASSERT_TRUE(show.started());
  // The picture in the middle of the window (x 80..239, y 60..179); the show's black replaced
  // the white around it.
  const auto shows_blue_picture_centred = [](const ss::Bitmap24& w) {
    return near(w.pixel(160, 120), kPictureBlue) && near(w.pixel(81, 61), kPictureBlue) &&
           near(w.pixel(238, 178), kPictureBlue) && near(w.pixel(5, 5), ss::kBlack) &&
           near(w.pixel(314, 234), ss::kBlack);
  };
  const ss::Bitmap24 drawn = grab_until(x, window, kPatienceMs, shows_blue_picture_centred);
  ASSERT_EQ(drawn.width(), 320);
  EXPECT_TRUE(shows_blue_picture_centred(drawn))
      << describe(drawn, {{160, 120}, {81, 61}, {238, 178}, {5, 5}, {314, 234}});
  // The daemon ends its hacks with SIGTERM: the show closes and the process ends cleanly.
  show.signal(SIGTERM);
  EXPECT_EQ(show.wait(5000), std::optional<int>(0));
}

}  // namespace
}  // namespace sdl_test
