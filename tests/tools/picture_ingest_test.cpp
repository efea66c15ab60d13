// Photos as people have them, turned into the JPEGs a saver carries: read back through the
// runtime's own decoder, so that what is checked is what the show would draw.
#include "slidemake/picture_ingest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vips/vips8>

#include "common/jpeg_encoder.h"
#include "package/picture.h"
#include "package/picture_limits.h"
#include "slidemake/picture_payload.h"
#include "support/saver_fixture.h"

namespace slidemake {
namespace {

using slidemake_test::ScratchDir;
using vips::VImage;

// The tests write their inputs with libvips too (its savers, not the loaders under test).
[[maybe_unused]] const bool kVipsStarted = VIPS_INIT("picture_ingest_test") == 0;

constexpr ss::Color kRed = ss::rgb(255, 0, 0);
constexpr ss::Color kGreen = ss::rgb(0, 255, 0);
constexpr ss::Color kBlue = ss::rgb(0, 0, 255);
constexpr ss::Color kWhite = ss::rgb(255, 255, 255);

// What the show would draw of an ingested picture, at its own size.
ss::Bitmap24 shown(const IngestedPicture& picture) {
  const PicturePayload payload = jpeg_picture_payload(picture.jpeg);
  const ss::Picture decoded = ss::read_picture_payload(payload.bytes);
  ss::Bitmap24 image(decoded.width(), decoded.height());
  decoded.graphic()->draw(image, image.bounds());
  return image;
}

bool near(ss::Color got, ss::Color want, int tolerance) {
  const auto close = [&](int a, int b) { return std::abs(a - b) <= tolerance; };
  return close(ss::color_red(got), ss::color_red(want)) &&
         close(ss::color_green(got), ss::color_green(want)) &&
         close(ss::color_blue(got), ss::color_blue(want));
}

std::string describe(ss::Color c) {
  return "(" + std::to_string(ss::color_red(c)) + "," + std::to_string(ss::color_green(c)) + "," +
         std::to_string(ss::color_blue(c)) + ")";
}

IngestedPicture ingest(const std::string& file, IngestOptions options = {}) {
  return ingest_picture(file, options, [](const std::string& message) {
    ADD_FAILURE() << "unexpected warning: " << message;
  });
}

// Four quarters in pure colours: red, green over blue, white, as the upright picture shows them.
ss::Color quarter_at(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (y < height / 2) return x < width / 2 ? kRed : kGreen;
  return x < width / 2 ? kBlue : kWhite;
}

// The pixels a camera stores for an upright picture when it tags them with `orientation`: the
// viewer applies the tag's transform to get back to upright.
ss::Bitmap24 stored_for(int orientation, int32_t width, int32_t height) {
  const bool swapped = orientation >= 5;
  ss::Bitmap24 stored(swapped ? height : width, swapped ? width : height);
  for (int32_t y = 0; y < stored.height(); ++y)
    for (int32_t x = 0; x < stored.width(); ++x) {
      const int32_t w = stored.width() - 1, h = stored.height() - 1;
      // Where the stored pixel (x, y) lands in the upright picture.
      int32_t ux = x, uy = y;
      switch (orientation) {
        case 2:
          ux = w - x;
          break;
        case 3:
          ux = w - x, uy = h - y;
          break;
        case 4:
          uy = h - y;
          break;
        case 5:
          ux = y, uy = x;
          break;
        case 6:
          ux = h - y, uy = x;
          break;
        case 7:
          ux = h - y, uy = w - x;
          break;
        case 8:
          ux = y, uy = w - x;
          break;
        default:
          break;
      }
      stored.set_pixel(x, y, quarter_at(ux, uy, width, height));
    }
  return stored;
}

// A JPEG with an EXIF block holding only the orientation tag.
std::vector<uint8_t> with_orientation(std::vector<uint8_t> jpeg, int orientation) {
  const std::vector<uint8_t> app1 = {0xFF,
                                     0xE1,
                                     0x00,
                                     34,
                                     'E',
                                     'x',
                                     'i',
                                     'f',
                                     0,
                                     0,  // marker, length, name
                                     'I',
                                     'I',
                                     42,
                                     0,
                                     8,
                                     0,
                                     0,
                                     0,  // little-endian TIFF, IFD at 8
                                     1,
                                     0,  // one entry
                                     0x12,
                                     0x01,
                                     3,
                                     0,
                                     1,
                                     0,
                                     0,
                                     0,  // orientation, SHORT, count 1
                                     static_cast<uint8_t>(orientation),
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0};  // value; no next IFD
  jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
  return jpeg;
}

TEST(PictureIngest, EveryOrientationComesOutUpright) {
  ScratchDir dir;
  constexpr int32_t kWidth = 64, kHeight = 32;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE("orientation " + std::to_string(orientation));
    const std::string name = "o" + std::to_string(orientation) + ".jpg";
    dir.write(name, with_orientation(ss::encode_jpeg(stored_for(orientation, kWidth, kHeight), 95),
                                     orientation));
    const IngestedPicture picture = ingest(dir.path(name));
    EXPECT_EQ(picture.stored_as_is, orientation == 1);
    const ss::Bitmap24 image = shown(picture);
    ASSERT_EQ(image.width(), kWidth);
    ASSERT_EQ(image.height(), kHeight);
    for (const auto& [x, y] : {std::pair{8, 8}, {56, 8}, {8, 24}, {56, 24}})
      EXPECT_TRUE(near(image.pixel(x, y), quarter_at(x, y, kWidth, kHeight), 24))
          << x << "," << y << " is " << describe(image.pixel(x, y));
  }
}

// A flat picture in `colour`, saved by libvips in the format the file name's suffix names.
void save_flat(const std::string& path, int r, int g, int b, const char* suffix_options = "") {
  VImage::black(40, 30, VImage::option()->set("bands", 3))
      .new_from_image({double(r), double(g), double(b)})
      .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
      .write_to_file((path + suffix_options).c_str());
}

TEST(PictureIngest, CommonFormatsBecomeJpegsOfTheSameColour) {
  ScratchDir dir;
  const ss::Color want = ss::rgb(200, 120, 40);
  save_flat(dir.path("flat.webp"), 200, 120, 40, "[lossless]");
  save_flat(dir.path("flat.tif"), 200, 120, 40);
  save_flat(dir.path("flat.gif"), 200, 120, 40);
  // 16 bits a channel and an alpha band: opaque on the left half, clear on the right.
  VImage colour = VImage::black(40, 30, VImage::option()->set("bands", 3))
                      .cast(VIPS_FORMAT_USHORT)
                      .new_from_image({200.0 * 257, 120.0 * 257, 40.0 * 257});
  VImage alpha = ((VImage::xyz(40, 30)[0] < 20) * 257).cast(VIPS_FORMAT_USHORT);  // 65535 or 0
  VImage rgba = colour.bandjoin(alpha);
  rgba = rgba.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_RGB16));
  rgba.write_to_file(dir.path("deep.png").c_str());
  // Inks as image editors write them (inverted, with an Adobe marker); libjpeg's plain
  // inversion reads them back as this colour.
  ss::Bitmap24 cmyk_source(40, 30);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) cmyk_source.set_pixel(x, y, want);
  dir.write("inks.jpg", ss::encode_jpeg(cmyk_source, {.quality = 95, .cmyk = true}));

  for (const char* name : {"flat.webp", "flat.tif", "flat.gif", "deep.png"}) {
    SCOPED_TRACE(name);
    const IngestedPicture picture = ingest(dir.path(name));
    EXPECT_FALSE(picture.stored_as_is);
    const ss::Bitmap24 image = shown(picture);
    ASSERT_EQ(image.width(), 40);
    EXPECT_TRUE(near(image.pixel(10, 15), want, 3)) << describe(image.pixel(10, 15));
    if (std::string(name) == "deep.png") {
      EXPECT_TRUE(near(image.pixel(30, 15), 0, 3)) << "alpha goes onto black";
    }
  }
  // A CMYK picture becomes an RGB one; the ink model decides the exact shade.
  const ss::Bitmap24 inks = shown(ingest(dir.path("inks.jpg")));
  EXPECT_TRUE(near(inks.pixel(20, 15), want, 40)) << describe(inks.pixel(20, 15));
}

// A phone's portrait photo as it comes off the phone: HEIC, taller than wide, 4:3.
TEST(PictureIngest, APhonesPortraitHeicBecomesAnUprightJpegOfTheSameColours) {
  ScratchDir dir;
  constexpr int32_t kWidth = 96, kHeight = 128;
  // The picture goes to libvips through our own encoder, then out as the phone's format.
  const std::vector<uint8_t> source = ss::encode_jpeg(stored_for(1, kWidth, kHeight), 95);
  VImage::new_from_buffer(source.data(), source.size(), "")
      .write_to_file(dir.path("IMG_0001.HEIC[Q=90]").c_str());
  const std::vector<uint8_t> file = dir.read("IMG_0001.HEIC");
  ASSERT_GE(file.size(), 12u);
  ASSERT_EQ(std::string(file.begin() + 4, file.begin() + 12), "ftypheic") << "an HEVC-coded file";

  const IngestedPicture picture = ingest(dir.path("IMG_0001.HEIC"));
  EXPECT_FALSE(picture.stored_as_is);
  const ss::Bitmap24 image = shown(picture);
  ASSERT_EQ(image.width(), kWidth);
  ASSERT_EQ(image.height(), kHeight);
  // Away from the edges, where the codec's chroma blur meets the next quarter.
  for (const auto& [x, y] : {std::pair{20, 24}, {76, 24}, {20, 104}, {76, 104}})
    EXPECT_TRUE(near(image.pixel(x, y), quarter_at(x, y, kWidth, kHeight), 40))
        << x << "," << y << " is " << describe(image.pixel(x, y));
}

TEST(PictureIngest, AnUprightBaselineJpegWithinTheSizeIsKeptByteForByte) {
  ScratchDir dir;
  dir.jpeg("plain.jpg", 120, 80);
  const IngestedPicture kept = ingest(dir.path("plain.jpg"));
  EXPECT_TRUE(kept.stored_as_is);
  EXPECT_EQ(kept.jpeg, dir.read("plain.jpg"));
  EXPECT_EQ(kept.width, 120);

  // Progressive coding, or a size over the limit, makes a new baseline JPEG.
  dir.write("progressive.jpg", ss::encode_jpeg(stored_for(1, 120, 80), {.progressive = true}));
  EXPECT_FALSE(ingest(dir.path("progressive.jpg")).stored_as_is);
  const IngestedPicture shrunk = ingest(dir.path("plain.jpg"), {.max_width = 60, .max_height = 60});
  EXPECT_FALSE(shrunk.stored_as_is);
  EXPECT_EQ(shrunk.width, 60);
  EXPECT_EQ(shrunk.height, 40);
  EXPECT_EQ(shown(shrunk).width(), 60);
}

TEST(PictureIngest, ShrinksKeepTheAspectNeverEnlargeAndStayWithinTheRuntimesLimits) {
  ScratchDir dir;
  save_flat(dir.path("small.png"), 10, 20, 30);  // 40 x 30
  const IngestedPicture small =
      ingest(dir.path("small.png"), {.max_width = 400, .max_height = 400});
  EXPECT_EQ(small.width, 40);
  EXPECT_EQ(small.height, 30);
  // A panorama beyond the runtime's side limit is brought within it even with no size asked.
  VImage::black(20000, 40).write_to_file(dir.path("panorama.png").c_str());
  const IngestedPicture panorama =
      ingest(dir.path("panorama.png"), {.max_width = 0, .max_height = 0});
  EXPECT_TRUE(ss::picture_size_allowed(panorama.width, panorama.height));
  EXPECT_EQ(panorama.width, ss::kMaxPictureSide);
  EXPECT_EQ(panorama.height, 32);
}

TEST(PictureIngest, DamageIsNamedAndNoPictureIsAnError) {
  ScratchDir dir;
  dir.jpeg("whole.jpg", 200, 160);
  std::vector<uint8_t> cut = dir.read("whole.jpg");
  cut.resize(cut.size() / 2);
  dir.write("cut.jpg", cut);
  std::vector<std::string> warnings;
  const IngestedPicture picture =
      ingest_picture(dir.path("cut.jpg"), {}, [&](const std::string& w) { warnings.push_back(w); });
  EXPECT_EQ(picture.width, 200);
  EXPECT_FALSE(picture.stored_as_is);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("cut.jpg"), std::string::npos) << warnings[0];

  dir.write_text("notes.jpg", "not a picture at all");
  try {
    ingest(dir.path("notes.jpg"));
    ADD_FAILURE() << "text read as a picture";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("notes.jpg"), std::string::npos) << e.what();
  }
}

TEST(PictureIngest, FoldersAndPatternsGiveThePicturesInNaturalOrder) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.path("album/inner"));
  for (const char* name :
       {"album/10.jpg", "album/2.jpg", "album/IMG_1.jpg", "album/img_01b.jpg", "album/inner/3.jpg"})
    dir.jpeg(name, 8, 8);
  save_flat(dir.path("album/1.png"), 1, 2, 3);
  dir.write_text("album/notes.txt", "text");
  dir.write_text("album/.hidden", "editor leftovers");
  std::vector<std::string> warnings;
  const Warn warn = [&](const std::string& w) { warnings.push_back(w); };
  const auto names = [](const std::vector<std::filesystem::path>& files) {
    std::vector<std::string> out;
    for (const auto& f : files) out.push_back(f.filename().string());
    return out;
  };
  EXPECT_EQ(names(expand_picture_entry("album", dir.path(""), warn)),
            (std::vector<std::string>{"1.png", "2.jpg", "10.jpg", "IMG_1.jpg", "img_01b.jpg"}));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("notes.txt"), std::string::npos);
  warnings.clear();
  EXPECT_EQ(names(expand_picture_entry("album/*.jpg", dir.path(""), warn)),
            (std::vector<std::string>{"2.jpg", "10.jpg", "IMG_1.jpg", "img_01b.jpg"}));
  EXPECT_TRUE(warnings.empty());
  // One named file is taken as it is: reading it is what fails, naming it.
  EXPECT_EQ(names(expand_picture_entry("album/notes.txt", dir.path(""), warn)),
            std::vector<std::string>{"notes.txt"});
  EXPECT_TRUE(expand_picture_entry("album/*.heic", dir.path(""), warn).empty());
  EXPECT_EQ(warnings.size(), 1u);
}

}  // namespace
}  // namespace slidemake
