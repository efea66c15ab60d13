// The parts of the SDL backend that need no display: the instance guard's lock and the caption
// text through FreeType and fontconfig.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/raster.h"
#include "platform/sdl/freetype_text.h"
#include "platform/sdl/instance_lock.h"

namespace ss {
namespace {

TEST(InstanceLock, SecondCopyOfTheSameSaverIsRefusedUntilTheFirstLetsGo) {
  const std::string name = "lock-test-" +
                           std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                           ".saverSemaphore";
  InstanceLock first;
  InstanceLock second;
  ASSERT_EQ(first.acquire(name), InstanceGuardResult::kCreated);
  EXPECT_EQ(second.acquire(name), InstanceGuardResult::kAlreadyRunning);
  EXPECT_EQ(second.acquire("other" + name), InstanceGuardResult::kCreated);
  first.release();
  EXPECT_EQ(second.acquire(name), InstanceGuardResult::kCreated);
}

TEST(InstanceLock, GuardNamesStayOneFileName) {
  const std::string path = InstanceLock::lock_path("../../etc/x y*Semaphore");
  const std::string plain = InstanceLock::lock_path("a");
  // The same folder as any other guard's: the slashes of the name did not lead elsewhere.
  EXPECT_EQ(path.substr(0, path.rfind('/')), plain.substr(0, plain.rfind('/')));
  EXPECT_NE(path.find("x_y_Semaphore"), std::string::npos);
}

TEST(FreeTypeText, TextBytesAreReadInTheCodePageOfTheFontsCharset) {
  EXPECT_EQ(decode_ansi_text("A\x80\x9F\x81\xE9", 1), U"A\u20AC\u0178\u0081\u00E9");
  EXPECT_EQ(decode_ansi_text("\xE8", 238), U"\u010D");   // East European: c with caron
  EXPECT_EQ(decode_ansi_text("\xC4\xE0", 204), U"\u0414\u0430");  // Russian
  EXPECT_EQ(decode_ansi_text("\x82\xA0", 128), U"\u3042");         // Shift-JIS: one character
  EXPECT_EQ(decode_ansi_text("\xE9", 0), U"\u00E9");  // no code page of its own: Latin
}

class FreeTypeTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (text_.matched_file("DejaVu Sans").empty()) GTEST_SKIP() << "no font installed";
  }
  FreeTypeText text_;
};

TEST_F(FreeTypeTextTest, HeightsFollowTheSystemsConvention) {
  // Negative: the character height, so the cell (with the leading) is taller; positive: the cell.
  const TextExtent character = text_.measure("Hg", {.face = "DejaVu Sans", .height = -40});
  const TextExtent cell = text_.measure("Hg", {.face = "DejaVu Sans", .height = 40});
  EXPECT_GT(character.cy, 40);
  EXPECT_LT(character.cy, 52);
  EXPECT_EQ(cell.cy, 40);
  EXPECT_LT(cell.cx, character.cx);
  EXPECT_GT(text_.measure("Hgg", {.face = "DejaVu Sans", .height = -40}).cx, character.cx);
  // A face that is not installed gets the closest one; absurd heights stay bounded.
  EXPECT_GT(text_.measure("Hg", {.face = "No Such Face", .height = -20}).cx, 0);
  EXPECT_LE(text_.measure("H", {.face = "Arial", .height = -2'000'000'000}).cy, 4096);
  EXPECT_EQ(text_.measure("", {.face = "Arial", .height = -20}).cx, 0);
}

TEST_F(FreeTypeTextTest, DrawsInItsColourInsideItsCellOnly) {
  const TextFontSpec font{.face = "DejaVu Sans", .height = -30, .color = rgb(255, 255, 0)};
  const TextExtent extent = text_.measure("HELLO", font);
  Bitmap24 image(300, 100);
  const int32_t left = 40;
  const int32_t top = 20;
  text_.draw(image, left, top, "HELLO", font);
  int inked = 0;
  int full = 0;
  for (int32_t y = 0; y < image.height(); ++y) {
    for (int32_t x = 0; x < image.width(); ++x) {
      const Color c = image.pixel(x, y);
      if (c == kBlack) continue;
      ++inked;
      EXPECT_TRUE(x >= left && x < left + extent.cx && y >= top && y < top + extent.cy)
          << x << "," << y;
      // Anti-aliased edges blend towards the colour; no other hue appears.
      EXPECT_EQ(color_red(c), color_green(c));
      EXPECT_EQ(color_blue(c), 0);
      if (c == rgb(255, 255, 0)) ++full;
    }
  }
  EXPECT_GT(full, 100);
  EXPECT_GT(inked, full);
  // Text running off the bitmap is clipped, not written past it.
  Bitmap24 small(10, 10);
  text_.draw(small, -5, -5, "HELLO WORLD", font);
  text_.draw(small, 8, 8, "HELLO WORLD", font);
}

// The ink of a word drawn in white, row by row from the top.
std::vector<int> ink_rows(FreeTypeText& text, const std::string& word, int32_t charset) {
  const TextFontSpec font{.face = "DejaVu Sans", .height = -40, .color = kWhite, .charset = charset};
  Bitmap24 image(80, 80);
  text.draw(image, 10, 10, word, font);
  std::vector<int> rows(80);
  for (int32_t y = 0; y < 80; ++y)
    for (int32_t x = 0; x < 80; ++x) rows[y] += image.pixel(x, y) != kBlack;
  return rows;
}

TEST_F(FreeTypeTextTest, ACaptionInLatinShowsItsAccents) {
  // "\xE9" is e acute: an e with ink above it, where the plain e has none.
  const std::vector<int> plain = ink_rows(text_, "e", 1);
  const std::vector<int> acute = ink_rows(text_, "\xE9", 1);
  const auto first_row = [](const std::vector<int>& rows) {
    return std::find_if(rows.begin(), rows.end(), [](int n) { return n > 0; }) - rows.begin();
  };
  EXPECT_LT(first_row(acute) + 4, first_row(plain));
  // The same byte under the Russian code page is another letter (short i).
  EXPECT_NE(ink_rows(text_, "\xE9", 204), acute);
}

}  // namespace
}  // namespace ss
