// Where the picture control puts the picture, what it paints around it, and how the changed
// part of a frame reaches the parent.
#include <gtest/gtest.h>

#include <thread>

#include "transition/fit_rect.h"
#include "view_rig.h"

namespace ss::view_test {
namespace {

constexpr Color kWindow = kWhite;  // the default colour as the classic palette resolves it

// A control of the given client size at (left, top) with a prepared manual transition.
void Prepare(Rig& rig, const Rect& bounds, int32_t pic_w, int32_t pic_h, bool center, bool stretch,
             bool fine) {
  TTransitionView& v = rig.view;
  v.SetAutoSize(false);
  v.SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
  v.SetCenter(center);
  v.SetStretch(stretch);
  v.SetStretchFine(fine);
  v.SetManual(true);
  v.SetPicture(SolidPicture(pic_w, pic_h, kRed));
  v.Execute();
}

TEST(ViewGeometry, PictureAndDisplayRectangles) {
  const struct {
    int32_t w, h;
    bool center, stretch, fine;
    Rect picture, display;
  } cases[] = {
      {200, 100, true, false, false, {50, 100, 250, 200}, {50, 100, 250, 200}},
      {400, 100, true, false, false, {-50, 100, 350, 200}, {-50, 100, 350, 200}},
      {200, 100, false, false, false, {0, 0, 200, 100}, {0, 0, 200, 100}},
      {200, 100, false, true, true, {0, 0, 200, 100}, {0, 75, 300, 225}},
      {100, 200, true, true, true, {100, 50, 200, 250}, {75, 0, 225, 300}},
      {200, 100, false, true, false, {0, 0, 200, 100}, {0, 0, 300, 300}},
  };
  for (const auto& c : cases) {
    Rig rig;
    Prepare(rig, {0, 0, 300, 300}, c.w, c.h, c.center, c.stretch, c.fine);
    EXPECT_EQ(rig.view.PictureRect(), c.picture) << c.w << "x" << c.h;
    EXPECT_EQ(rig.view.DisplayRect(), c.display) << c.w << "x" << c.h;

    rig.view.SetProgress(100);  // the whole picture, painted at once
    const Rect shown = c.display.intersect({0, 0, 300, 300});
    const Bitmap24& s = rig.host.surface();
    EXPECT_EQ(s.pixel(shown.left, shown.top), kRed);
    EXPECT_EQ(s.pixel(shown.right - 1, shown.bottom - 1), kRed);
    if (shown.left > 0) {
      EXPECT_EQ(s.pixel(shown.left - 1, shown.top), kWindow);
    }
    if (shown.top > 0) {
      EXPECT_EQ(s.pixel(shown.left, shown.top - 1), kWindow);
    }
  }
}

TEST(ViewGeometry, FitRectKeepsTheAspectAndCentres) {
  const struct {
    Rect image, target, fit;
  } cases[] = {
      {{0, 0, 200, 100}, {0, 0, 300, 300}, {0, 75, 300, 225}},
      {{0, 0, 3, 2}, {0, 0, 10, 10}, {0, 1, 10, 8}},      // 6.67 rounds to 7
      {{0, 0, 10, 10}, {5, 5, 25, 15}, {10, 5, 20, 15}},  // scaled down, offset target
      {{0, 0, 1, 1}, {0, 0, 7, 3}, {2, 0, 5, 3}},         // scaled up
      {{0, 0, 0, 10}, {4, 4, 9, 9}, {4, 4, 4, 4}},        // nothing to fit
  };
  for (const auto& c : cases) EXPECT_EQ(FitRect(c.image, c.target), c.fit);
}

TEST(ViewGeometry, FrameAreasMapToTheParent) {
  // Style 3 (slide from the right) at 50 on 200 × 100 changes [100, 300] × [0, 100], partly
  // outside the picture. The control sits at (10, 20).
  const struct {
    bool center, stretch, fine;
    Rect invalidated;
  } cases[] = {
      {true, false, false, {160, 120, 260, 220}},  // centred, clipped to the picture
      {false, false, false, {110, 20, 210, 120}},  // clipped to the picture
      {false, true, false, {160, 20, 460, 320}},   // scaled 1.5 × 3, not clipped
      {false, true, true, {160, 95, 460, 245}},    // scaled 1.5 into the fit rectangle
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.view.SetStyle(3);
    Prepare(rig, {10, 20, 310, 320}, 200, 100, c.center, c.stretch, c.fine);
    rig.host.clear_invalidated();
    rig.view.SetProgress(50);
    EXPECT_EQ(rig.host.invalidated(), std::vector<Rect>{c.invalidated});
  }
}

TEST(ViewGeometry, AutoSizeFollowsThePictureOnlyWithoutAlignment) {
  const struct {
    TAlign align;
    bool auto_size;
    int32_t w, h;
  } cases[] = {{alNone, true, 640, 480}, {alClient, true, 300, 200}, {alNone, false, 100, 100}};
  for (const auto& c : cases) {
    Rig rig(300, 200);
    int changes = 0;
    rig.view.OnChange = [&](TCustomTransitionView&) { ++changes; };
    rig.view.SetAutoSize(c.auto_size);
    rig.view.SetAlign(c.align);
    rig.view.SetPicture(SolidPicture(640, 480, kRed));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(rig.view.Width(), c.w);
    EXPECT_EQ(rig.view.Height(), c.h);
  }
  Rig rig(300, 200);
  rig.view.SetAutoSize(false);
  rig.view.SetPicture(SolidPicture(64, 48, kRed));
  rig.view.SetAutoSize(true);
  EXPECT_EQ(rig.view.BoundsRect(), (Rect{0, 0, 64, 48}));
  rig.view.SetAlign(alClient);
  rig.host.resize_parent(320, 240);
  EXPECT_EQ(rig.view.BoundsRect(), (Rect{0, 0, 320, 240}));
}

TEST(ViewGeometry, OldImageIsWhatWasLastPaintedWhereThePictureGoes) {
  Rig rig;
  rig.view.SetAlign(alClient);
  rig.view.SetCenter(true);
  rig.view.SetManual(true);
  rig.view.SetPicture(SolidPicture(100, 50, kRed));
  rig.view.Execute();
  // Never painted: the old image is a fresh bitmap, not the control's colour.
  EXPECT_EQ(*rig.view.OldImage(), Solid(100, 50, kBlack));

  rig.view.SetProgress(100);  // paints the red picture at (100, 125)
  rig.view.Stop();
  rig.view.SetPicture(SolidPicture(200, 100, kBlue));
  rig.view.Execute();
  const Bitmap24& old_image = *rig.view.OldImage();
  EXPECT_EQ(old_image.pixel(49, 25), kWindow);
  EXPECT_EQ(old_image.pixel(50, 25), kRed);
  EXPECT_EQ(old_image.pixel(149, 74), kRed);
  EXPECT_EQ(old_image.pixel(150, 74), kWindow);

  // Clear waits for the transition to end; then the next one starts from the colour alone.
  const Bitmap24 screen = rig.view.ScreenBitmap();
  rig.view.Clear();
  EXPECT_EQ(rig.view.ScreenBitmap(), screen);
  rig.view.Stop();
  rig.view.Clear();
  EXPECT_TRUE(rig.view.ScreenBitmap().empty());
  rig.host.flush_paint();
  EXPECT_EQ(rig.host.surface(), Solid(300, 300, kWindow));
  rig.view.Execute();
  EXPECT_EQ(*rig.view.OldImage(), Solid(200, 100, kWindow));
}

TEST(ViewGeometry, BackgroundPictureByMode) {
  // A marked corner shows where each copy of the background lands.
  const auto background = [](int32_t size) {
    Bitmap24 b = Solid(size, size, kGreen);
    b.set_pixel(0, 0, kBlue);
    return Picture::from_bitmap(b);
  };
  const struct {
    TBackgroundMode mode;
    int32_t size;
    Point point;
    Color expected;
  } cases[] = {
      {bmTiled, 100, {200, 100}, kBlue},     {bmTiled, 100, {299, 299}, kGreen},
      {bmTiled, 10, {290, 40}, kBlue},       {bmTiled, 10, {291, 40}, kGreen},
      {bmStretched, 100, {2, 2}, kBlue},     {bmStretched, 100, {3, 0}, kGreen},
      {bmCentered, 100, {100, 100}, kBlue},  {bmCentered, 100, {99, 150}, kWindow},
      {bmCentered, 100, {199, 199}, kGreen}, {bmNone, 100, {0, 0}, kWindow},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.view.SetBounds(0, 0, 300, 300);
    rig.view.SetBgMode(c.mode);
    rig.view.SetBgPicture(background(c.size));
    rig.host.flush_paint();
    EXPECT_EQ(rig.host.surface().pixel(c.point.x, c.point.y), c.expected)
        << c.mode << " " << c.size << " at " << c.point.x << "," << c.point.y;
  }
}

TEST(ViewGeometry, ColourFollowsTheParentUntilSetExplicitly) {
  Rig rig;
  TTransitionView& v = rig.view;
  v.CMParentColorChanged(kBlack);
  EXPECT_EQ(v.GetColor(), kBlack);
  v.SetColor(kRed);
  EXPECT_FALSE(v.ParentColor());
  v.CMParentColorChanged(kBlue);
  EXPECT_EQ(v.GetColor(), kRed);
  v.SetParentColor(true);
  EXPECT_EQ(v.GetColor(), kBlue);
}

TEST(ViewGeometry, PaintsFromOtherThreadsAreDropped) {
  Rig rig;
  rig.view.SetColor(kGreen);
  std::thread([&] { rig.host.repaint_now(); }).join();
  EXPECT_EQ(rig.host.paint_count(), 1);
  EXPECT_EQ(rig.host.surface().pixel(0, 0), kBlack);
  rig.host.repaint_now();
  EXPECT_EQ(rig.host.surface().pixel(0, 0), kGreen);
}

}  // namespace
}  // namespace ss::view_test
