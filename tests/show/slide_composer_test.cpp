// The composition of a slide: the fit rules, the placement on the black screen, the caption.
#include "show/slide_composer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/jpeg_encoder.h"
#include "package/bitmap_graphic.h"
#include "package/icon_graphic.h"
#include "package/jpeg_graphic.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_text.h"
#include "show_rig.h"

namespace ss::show_test {
namespace {

constexpr Point kScreen{1024, 768};
constexpr Color kRed = 0x0000FF;

// A graphic of any claimed size that fills what it is asked to draw into, and remembers where.
class FillGraphic final : public Graphic {
 public:
  FillGraphic(int32_t w, int32_t h) : w_(w), h_(h) {}
  std::string_view class_name() const override { return "TBitmap"; }
  int32_t width() const override { return w_; }
  int32_t height() const override { return h_; }
  void draw(Bitmap24& dst, const Rect& dst_rect) const override {
    drawn_into = dst_rect;
    const Rect r = dst_rect.intersect(dst.bounds());
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) dst.set_pixel(x, y, kRed);
  }
  mutable Rect drawn_into;

 private:
  int32_t w_;
  int32_t h_;
};

// Answers a fixed extent and records what it was asked to draw.
class RecordingText final : public TextRenderer {
 public:
  TextExtent measure(const std::string&, const TextFontSpec&) override { return {101, 17}; }
  void draw(Bitmap24&, int32_t x, int32_t y, const std::string& text,
            const TextFontSpec& font) override {
    drawn.push_back({x, y});
    texts.push_back(text);
    fonts.push_back(font);
  }
  std::vector<Point> drawn;
  std::vector<std::string> texts;
  std::vector<TextFontSpec> fonts;
};

TEST(SlideComposer, FitsThePictureToTheScreenAndCentresIt) {
  struct Case {
    Point picture;
    bool stretch;
    Point size;
    Point at;
  };
  const std::vector<Case> cases = {
      {{2000, 1000}, false, {1024, 512}, {0, 128}}, {{800, 600}, false, {800, 600}, {112, 84}},
      {{1024, 768}, false, {1024, 768}, {0, 0}},    {{1000, 2000}, false, {384, 768}, {320, 0}},
      {{2048, 1536}, false, {1024, 768}, {0, 0}},    // equal ratios fit by height
      {{2048, 1001}, false, {1024, 500}, {0, 134}},  // 500.5 goes to the even 500
      {{2048, 1003}, false, {1024, 502}, {0, 133}},  // 501.5 goes to the even 502
      {{1025, 3}, false, {1024, 3}, {0, 382}},       // 2.997 rounds up
      {{800, 600}, true, {1024, 768}, {0, 0}},      {{5, 5}, true, {1024, 768}, {0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fitted_picture_size(c.picture.x, c.picture.y, kScreen, c.stretch), c.size)
        << c.picture.x << "x" << c.picture.y;
    auto graphic = std::make_shared<FillGraphic>(c.picture.x, c.picture.y);
    TSSFileLocations settings;
    settings.lStretch = c.stretch;
    RecordingText text;
    const Bitmap24 slide = compose_slide(Picture(graphic), settings, kScreen, text);
    ASSERT_EQ(slide.bounds(), (Rect{0, 0, kScreen.x, kScreen.y}));
    EXPECT_EQ(graphic->drawn_into, (Rect{0, 0, c.size.x, c.size.y}));
    const Rect placed{c.at.x, c.at.y, c.at.x + c.size.x, c.at.y + c.size.y};
    EXPECT_EQ(slide.pixel(placed.left, placed.top), kRed);
    EXPECT_EQ(slide.pixel(placed.right - 1, placed.bottom - 1), kRed);
    // Just outside the picture the slide is black (off the screen counts as black too).
    const auto around = [&](int32_t x, int32_t y) {
      return x < 0 || y < 0 || x >= kScreen.x || y >= kScreen.y ? kBlack : slide.pixel(x, y);
    };
    EXPECT_EQ(around(placed.left, placed.top - 1), kBlack);
    EXPECT_EQ(around(placed.left - 1, placed.top), kBlack);
    EXPECT_EQ(around(placed.left, placed.bottom), kBlack);
    EXPECT_TRUE(text.drawn.empty());  // no caption text
  }
}

TEST(SlideComposer, ProductsWrapIn32BitsWithoutHarm) {
  // 3,000,000 × 1024 wraps to a negative product: the picture gets no area, the slide stays
  // black.
  EXPECT_EQ(fitted_picture_size(5'000'000, 3'000'000, kScreen, false), (Point{1024, -245}));
  RecordingText text;
  const Bitmap24 slide = compose_slide(Picture(std::make_shared<FillGraphic>(5'000'000, 3'000'000)),
                                       TSSFileLocations{}, kScreen, text);
  EXPECT_EQ(slide.pixel(512, 384), kBlack);
  const Bitmap24 empty = compose_slide(Picture(), TSSFileLocations{}, {16, 8}, text);
  EXPECT_EQ(empty, Bitmap24(16, 8));
}

TEST(SlideComposer, AShrunkJpegIsDecodedAtTheSmallestCoveringScale) {
  Bitmap24 image(1100, 550);
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      image.set_pixel(x, y, rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 128));
  const auto jpeg = std::make_shared<JpegGraphic>(encode_jpeg(image, 80));
  RecordingText text;
  // Fitted to 512 × 256: half the size would not cover it, four eighths do.
  compose_slide(Picture(jpeg), TSSFileLocations{}, {512, 384}, text);
  EXPECT_EQ(jpeg->decoded_scale(), 4);
}

TEST(SlideComposer, AShrunkPictureIsAveragedWithinTheFittedRectangle) {
  // A one-pixel checkerboard of black and white, 740 × 370, on a 200 × 150 screen: fitted to
  // 200 × 100 at row 25, where each slide pixel averages 3.7 × 3.7 source pixels to grey.
  Bitmap24 board(740, 370);
  std::vector<uint8_t> opaque(740 * 370, 255);
  for (int32_t y = 0; y < board.height(); ++y)
    for (int32_t x = 0; x < board.width(); ++x)
      if ((x + y) & 1) board.set_pixel(x, y, rgb(255, 255, 255));
  opaque[0] = 254;  // an icon with an alpha channel takes the blending path
  RecordingText text;
  for (const Picture& picture :
       {Picture::from_bitmap(board), Picture(std::make_shared<IconGraphic>(board, opaque))}) {
    const Bitmap24 slide = compose_slide(picture, TSSFileLocations{}, {200, 150}, text);
    for (int32_t y = 0; y < 150; ++y)
      for (int32_t x = 0; x < 200; ++x) {
        const Color c = slide.pixel(x, y);
        if (y < 25 || y >= 125) {
          ASSERT_EQ(c, kBlack) << x << "," << y;
        } else {
          // Within ±1 of the exact mean, which lies between 124 and 131 for 3.7 × 3.7 cells.
          ASSERT_NEAR(color_red(c), 127.5, 5.0) << x << "," << y;
          ASSERT_EQ(color_red(c), color_blue(c));
        }
      }
  }
}

TEST(SlideComposer, AJpegShrunkAfterItsScaleIsAveragedToo) {
  // Stripes one pixel wide, across: the nearest pixel would give black or white rows.
  Bitmap24 image(1100, 550);
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      image.set_pixel(x, y, (y & 1) ? rgb(255, 255, 255) : rgb(0, 0, 0));
  const auto jpeg = std::make_shared<JpegGraphic>(encode_jpeg(image, 95));
  RecordingText text;
  // 1100 × 550 onto 300 × 300: fitted to 300 × 150, decoded at 2 eighths (275 × 138 would not
  // cover it) so at 4 eighths, then averaged down from 550 × 275.
  const Bitmap24 slide = compose_slide(Picture(jpeg), TSSFileLocations{}, {300, 300}, text);
  EXPECT_EQ(jpeg->decoded_scale(), 4);
  for (int32_t y = 80; y < 220; ++y)
    ASSERT_NEAR(color_green(slide.pixel(150, y)), 127.5, 24.0) << y;
  EXPECT_EQ(slide.pixel(150, 74), kBlack);
  EXPECT_EQ(slide.pixel(150, 225), kBlack);
}

TEST(SlideComposer, TheCaptionSitsAtTheBottomCentreWithFaceSizeAndColourOnly) {
  struct Case {
    Point screen;
    Point at;
  };
  // x = (width div 2) − (cx div 2), which differs from (width − cx) div 2 for an even width.
  for (const Case& c : {Case{{1024, 768}, {462, 751}}, Case{{1023, 600}, {461, 583}}}) {
    TSSFileLocations settings;
    settings.Text = "Holiday 2004";
    settings.TextFont.Name = "Arial";
    settings.TextFont.Height = -14;  // 10.5 points: the size goes through whole points
    settings.TextFont.Color = 0x00FFFF;
    settings.TextFont.Style = fsBold | fsItalic;
    settings.TextFont.Charset = 0;
    RecordingText text;
    compose_slide(Picture(std::make_shared<FillGraphic>(10, 10)), settings, c.screen, text);
    ASSERT_EQ(text.drawn.size(), 1u);
    EXPECT_EQ(text.drawn[0], c.at);
    EXPECT_EQ(text.texts[0], "Holiday 2004");
    EXPECT_EQ(text.fonts[0].face, "Arial");
    EXPECT_EQ(text.fonts[0].height, -15);
    EXPECT_EQ(text.fonts[0].color, 0x00FFFF);
  }
}

TEST(SlideComposer, ABoldCaptionFontDrawsLikeARegularOne) {
  CallLog log;
  HeadlessTextRenderer text(log);
  TSSFileLocations regular;
  regular.Text = "Caption";
  regular.TextFont.Color = kWhite;
  TSSFileLocations bold = regular;
  bold.TextFont.Style = fsBold | fsUnderline | fsStrikeOut;
  const Picture picture(std::make_shared<FillGraphic>(40, 20));
  const Bitmap24 a = compose_slide(picture, regular, {200, 100}, text);
  const Bitmap24 b = compose_slide(picture, bold, {200, 100}, text);
  EXPECT_EQ(a, b);
  EXPECT_EQ(log.count("text.draw " +
                      std::to_string(100 - 7 * HeadlessTextRenderer::cell_size(-11).cx / 2) + "," +
                      std::to_string(100 - HeadlessTextRenderer::cell_size(-11).cy) + " Caption"),
            2u);
}

TEST(SlideComposer, TheShowComposesEverySlideScreenSizedWithTheCaption) {
  ShowRig rig;
  SaverContents contents{.pictures = {bmp_picture(solid(20, 10, kRed))},
                         .settings = quiet_settings()};
  contents.settings.Text = "Hi";
  rig.build(contents);
  rig.start(rig.config({64, 48}));
  rig.run_for(1500);
  const Picture& shown = rig.form().PShow().GetPicture();
  EXPECT_EQ(shown.width(), 64);
  EXPECT_EQ(shown.height(), 48);
  const Bitmap24& screen = rig.form().PShow().ScreenBitmap();
  EXPECT_EQ(screen.pixel(22, 19), kRed);  // the picture at (22, 19)
  EXPECT_EQ(screen.pixel(21, 19), kBlack);
  const TextExtent cell = HeadlessTextRenderer::cell_size(-11);
  EXPECT_TRUE(rig.log().contains("text.draw " + std::to_string(32 - cell.cx) + "," +
                                 std::to_string(48 - cell.cy) + " Hi"));
}

}  // namespace
}  // namespace ss::show_test
