// Writes the seed inputs of every fuzz target, made by the project's own writers: settings and
// picture streams, whole savers, bitmap, icon, metafile and JPEG files, comma and INI texts.
//   make_fuzz_seeds OUT_DIR   → OUT_DIR/<target>/<seed name>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/bitmap24.h"
#include "common/bmp_encoder.h"
#include "package/image_record.h"
#include "package/property_stream_writer.h"
#include "package/settings_stream.h"
#include "package/trailer.h"
#include "support/test_images.h"

namespace {

namespace fs = std::filesystem;
using ss::test::Bytes;

class SeedWriter {
 public:
  explicit SeedWriter(fs::path root) : root_(std::move(root)) {}

  void put(std::string_view target, std::string_view name, const Bytes& bytes) {
    const fs::path folder = root_ / std::string(target);
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ++count_;
  }
  void put(std::string_view target, std::string_view name, std::string_view text) {
    put(target, name, Bytes(text.begin(), text.end()));
  }
  int count() const { return count_; }

 private:
  fs::path root_;
  int count_ = 0;
};

ss::Bitmap24 gradient(int w, int h) {
  return ss::test::make_bitmap(w, h, [](int x, int y) {
    return ss::rgb(static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 40), 128);
  });
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// ---- pictures ----

std::vector<std::pair<std::string, Bytes>> bmp_files() {
  using ss::test::BmpLayout;
  std::vector<std::pair<std::string, Bytes>> out;
  out.emplace_back("rgb24", ss::encode_bmp(gradient(5, 3)));
  const auto index = [](int x, int y) { return static_cast<uint32_t>((x + y) % 7); };
  for (int depth : {1, 4, 8}) {
    BmpLayout layout{
        .width = 9, .height = 3, .bit_count = depth, .palette = ss::test::pure_colours()};
    if (depth == 1) layout.palette.resize(2);
    out.emplace_back("indexed" + std::to_string(depth),
                     ss::test::bmp_file(layout, ss::test::pack_rows(layout, index)));
  }
  BmpLayout top_down{.width = 4, .height = -2, .bit_count = 24};
  out.emplace_back("top_down", ss::test::bmp_file(top_down, ss::test::pack_rows(top_down, index)));
  BmpLayout core{.width = 4,
                 .height = 2,
                 .bit_count = 8,
                 .core_header = true,
                 .palette = ss::test::pure_colours()};
  out.emplace_back("core8", ss::test::bmp_file(core, ss::test::pack_rows(core, index)));
  for (int depth : {16, 32}) {
    BmpLayout fields{.width = 3, .height = 2, .bit_count = depth, .compression = 3};
    const uint32_t m565[4] = {0xF800, 0x07E0, 0x001F, 0};
    const uint32_t m888[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    std::copy(depth == 16 ? m565 : m888, (depth == 16 ? m565 : m888) + 4, fields.masks);
    out.emplace_back("bitfields" + std::to_string(depth),
                     ss::test::bmp_file(fields, ss::test::pack_rows(fields, index)));
    fields.header_size = 108;
    out.emplace_back("v4_bitfields" + std::to_string(depth),
                     ss::test::bmp_file(fields, ss::test::pack_rows(fields, index)));
  }
  // Run-length data: runs, a literal run, a move, end of line, end of bitmap.
  BmpLayout rle8{.width = 8,
                 .height = 3,
                 .bit_count = 8,
                 .compression = 1,
                 .palette = ss::test::pure_colours()};
  out.emplace_back("rle8", ss::test::bmp_file(rle8, {4, 1, 0, 3, 2, 3, 4, 0, 0, 0, 2,
                                                     1, 1, 3, 5, 0, 0, 8, 6, 0, 1}));
  BmpLayout rle4{.width = 8,
                 .height = 2,
                 .bit_count = 4,
                 .compression = 2,
                 .palette = ss::test::pure_colours()};
  out.emplace_back("rle4",
                   ss::test::bmp_file(rle4, {4, 0x12, 0, 4, 0x34, 0x56, 0, 0, 8, 0x61, 0, 1}));
  return out;
}

std::vector<std::pair<std::string, Bytes>> icon_files() {
  const auto colour = [](int x, int y) {
    return ss::rgb(static_cast<uint8_t>(x * 30), 0, static_cast<uint8_t>(y * 30));
  };
  const auto ring = [](int x, int y) { return x == 0 || y == 0; };
  const auto alpha = [](int x, int) { return static_cast<uint8_t>(x * 60); };
  std::vector<std::pair<std::string, Bytes>> out;
  for (int depth : {1, 4, 8, 24, 32})
    out.emplace_back(
        "icon" + std::to_string(depth),
        ss::test::icon_file({{ss::test::icon_bitmap(
                                  4, 4, depth, colour, ring,
                                  depth == 32 ? std::function<uint8_t(int, int)>(alpha) : nullptr),
                              4, 4, depth}}));
  out.emplace_back("two_entries", ss::test::icon_file(
                                      {{ss::test::icon_bitmap(2, 2, 8, colour, ring), 2, 2, 8},
                                       {ss::test::icon_bitmap(4, 4, 24, colour, ring), 4, 4, 24}}));
  const Bytes png = ss::test::png_with_alpha(gradient(4, 4), alpha);
  if (!png.empty()) out.emplace_back("png_entry", ss::test::icon_file({{png, 4, 4, 32}}));
  return out;
}

Bytes enhanced_metafile() {
  Bytes b;
  ss::test::put32(b, 1);    // record type: header
  ss::test::put32(b, 108);  // record size
  for (int32_t v : {0, 0, 99, 49}) ss::test::put32(b, static_cast<uint32_t>(v));      // bounds
  for (int32_t v : {0, 0, 2645, 1322}) ss::test::put32(b, static_cast<uint32_t>(v));  // frame
  ss::test::put32(b, 0x464D4520);                                                     // " EMF"
  ss::test::put32(b, 0x10000);                                                        // version
  ss::test::put32(b, 128);                                                            // bytes
  b.resize(128, 0);
  return b;
}

Bytes placeable_metafile() {
  Bytes b;
  ss::test::put32(b, 0x9AC6CDD7);
  ss::test::put16(b, 0);  // handle
  for (int16_t v : {0, 0, 1440, 720}) ss::test::put16(b, static_cast<uint16_t>(v));
  ss::test::put16(b, 1440);  // units per inch
  ss::test::put32(b, 0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(b[i] | b[i + 1] << 8);
  ss::test::put16(b, checksum);
  b.resize(40, 0);
  return b;
}

std::vector<std::pair<std::string, Bytes>> jpeg_files() {
  std::vector<std::pair<std::string, Bytes>> out;
  out.emplace_back("baseline", ss::test::jpeg_file(gradient(16, 8), {.quality = 50}));
  out.emplace_back("progressive",
                   ss::test::jpeg_file(gradient(16, 16), {.progressive = true, .quality = 50}));
  out.emplace_back("grayscale", ss::test::jpeg_file(gradient(8, 8), {.grayscale = true}));
  out.emplace_back("cmyk", ss::test::jpeg_file(gradient(8, 8), {.cmyk = true}));
  out.emplace_back("odd_size", ss::test::jpeg_file(gradient(13, 7), {.quality = 30}));
  return out;
}

// ---- streams and savers ----

ss::TSSFileLocations full_settings() {
  ss::TSSFileLocations s;
  s.Text = "Caption \"quoted\"";
  s.TextFont.Height = -32;
  s.TextFont.Style = 5;
  s.TextFont.Pitch = ss::TFontPitch::fpFixed;
  s.TextFont.Color = static_cast<ss::Color>(0xFF000008);
  s.lRandomStyle = s.lClearOldImage = s.lExitKeyPress = s.lExitMouseMove = true;
  s.Interval = 5000;
  s.SoundRandom = 2;
  s.Title = "Title";
  s.Author = "Author";
  s.Email = "mailto:a@example.org";
  s.Web = "https://example.org";
  s.Ver = "photo";
  s.EffectCommaList.set_comma_text("0,1,51,126,127");
  s.PicFileNamesCommaList.set_comma_text("\"a b.jpg\",c.bmp");
  s.DescriptCommaList.set_comma_text("one,,three,");
  return s;
}

Bytes picture_stream(const std::string& graphic_class, const Bytes& data, bool counted) {
  const Bytes payload = counted ? ss::test::counted_payload(graphic_class, data)
                                : ss::test::payload(graphic_class, data);
  return ss::write_image_stream(16, 16, payload);
}

// A runtime stand-in, the items, the settings naming them, the trailer.
struct SaverParts {
  std::vector<Bytes> pictures;
  std::vector<std::pair<std::string, Bytes>> music, movies;
  ss::TSSFileLocations settings;
};

Bytes saver(SaverParts parts) {
  Bytes file(64, 0x90);
  const int64_t start = static_cast<int64_t>(file.size());
  std::string pics, snd, snd_sizes, snd_names, fl, fl_sizes, fl_names;
  auto add = [&](std::string& list, int64_t value) {
    list += (list.empty() ? "" : ",") + std::to_string(value);
  };
  for (const Bytes& p : parts.pictures) {
    add(pics, static_cast<int64_t>(file.size()));
    file.insert(file.end(), p.begin(), p.end());
  }
  for (auto& [name, bytes] : parts.music) {
    add(snd, static_cast<int64_t>(file.size()));
    add(snd_sizes, static_cast<int64_t>(bytes.size()));
    snd_names += (snd_names.empty() ? "" : ",") + name;
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  for (auto& [name, bytes] : parts.movies) {
    add(fl, static_cast<int64_t>(file.size()));
    add(fl_sizes, static_cast<int64_t>(bytes.size()));
    fl_names += (fl_names.empty() ? "" : ",") + name;
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  ss::TSSFileLocations& s = parts.settings;
  s.PicCommaList.set_comma_text(pics);
  s.SndCommaList.set_comma_text(snd);
  s.SndSizesCommaList.set_comma_text(snd_sizes);
  s.SndFileNamesCommaList.set_comma_text(snd_names);
  s.FlashCommaList.set_comma_text(fl);
  s.FlashSizesCommaList.set_comma_text(fl_sizes);
  s.FlashFileNamesCommaList.set_comma_text(fl_names);
  const int64_t settings_at = static_cast<int64_t>(file.size());
  const Bytes stream = ss::write_settings_stream(s);
  file.insert(file.end(), stream.begin(), stream.end());
  const std::string trailer =
      ss::format_trailer(static_cast<int64_t>(file.size()) - start, settings_at);
  file.insert(file.end(), trailer.begin(), trailer.end());
  return file;
}

// Values of every tag under a property the record does not have: the reader must pass over
// each before it fails.
Bytes stream_with_every_tag() {
  Bytes b = {'T', 'P', 'F', '0', 6, 'T', 'I', 'm', 'a', 'g', 'e', 0};
  auto property = [&](std::string_view name, Bytes value) {
    b.push_back(static_cast<uint8_t>(name.size()));
    b.insert(b.end(), name.begin(), name.end());
    b.insert(b.end(), value.begin(), value.end());
  };
  property("Left", {2, 1});
  property("Top", {3, 0x10, 0});
  property("Width", {4, 8, 0, 0, 0});
  property("Odd", {1, 2,   5,  5, 1,  2,  3, 4,  5, 6,   7,    8,    0x80, 0x3F, 6,  1, 'x', 7,
                   1, 'y', 8,  9, 10, 1,  0, 0,  0, 'z', 11,   1,    'a',  0,    12, 0, 0,   0,
                   0, 13,  15, 0, 0,  0,  0, 16, 0, 0,   0,    0,    0,    0,    0,  0, 17,  0,
                   0, 0,   0,  0, 0,  0,  0, 18, 1, 0,   0,    0,    'w',  0,    19, 1, 0,   0,
                   0, 0,   0,  0, 0,  20, 2, 0,  0, 0,   0xC3, 0xA9, 1,    1,    0,  0, 0});
  property("Items", {14, 2, 0, 1, 4, 'N', 'a', 'm', 'e', 6, 1, 'q', 0, 1, 0, 0});
  b.push_back(0);
  // One child object with a property and an empty child list of its own.
  const Bytes child = {6, 'T', 'C', 'h', 'i', 'l', 'd', 1, 'c', 3, 'T', 'a', 'g', 2, 7, 0, 0, 0};
  b.insert(b.end(), child.begin(), child.end());
  return b;
}

void write_stream_seeds(SeedWriter& out) {
  out.put("property_stream", "settings_default", ss::write_settings_stream({}));
  out.put("property_stream", "settings_full", ss::write_settings_stream(full_settings()));
  out.put("property_stream", "every_tag", stream_with_every_tag());
  for (const auto& [name, bmp] : bmp_files())
    if (name == "rle8" || name == "indexed4" || name == "bitfields16")
      out.put("property_stream", "image_bmp_" + name, picture_stream("TBitmap", bmp, true));
  out.put("property_stream", "image_jpeg",
          picture_stream("TJPEGImage", jpeg_files()[0].second, true));
  out.put("property_stream", "image_icon", picture_stream("TIcon", icon_files()[0].second, false));
  Bytes emf = enhanced_metafile();
  Bytes counted_emf;
  ss::test::put32(counted_emf, static_cast<uint32_t>(emf.size() + 4));
  out.put("property_stream", "image_metafile",
          picture_stream("TMetafile", concat({counted_emf, emf}), false));
  out.put("property_stream", "image_unknown_class", picture_stream("TJpegImage", {1, 2, 3}, true));
}

void write_saver_seeds(SeedWriter& out) {
  const Bytes jpeg = picture_stream("TJPEGImage", jpeg_files()[0].second, true);
  const Bytes bmp = picture_stream("TBitmap", bmp_files()[0].second, true);
  out.put("package", "one_picture", saver({.pictures = {jpeg}, .settings = full_settings()}));
  SaverParts media{.pictures = {bmp, jpeg},
                   .music = {{"song.mid", Bytes(40, 'M')}, {"two.wav", Bytes(12, 'W')}},
                   .movies = {{"movie.swf", Bytes(20, 'F')}},
                   .settings = full_settings()};
  media.settings.Ver = "flash";
  out.put("package", "media", saver(media));
  ss::TSSFileLocations powerpoint = full_settings();
  powerpoint.Ver = "powerpoint";
  out.put("package", "music_first",
          saver({.music = {{"a.mid", Bytes(8, 'A')}}, .settings = powerpoint}));
  out.put("package", "runtime_only", Bytes(80, 0x90));
}

void write_text_seeds(SeedWriter& out) {
  const char* comma[] = {"0,1,2,126",
                         "a b,c",
                         "\"a \"\"b\"\" c\",d",
                         "x,",
                         ",,",
                         "\"\"",
                         " \t1, -2 ,+3,x4",
                         "\"open",
                         "699904,700000",
                         "song.mid,\"two words.wav\""};
  for (size_t i = 0; i < std::size(comma); ++i)
    out.put("comma_text", "text" + std::to_string(i), std::string_view(comma[i]));
  const char* ini[] = {
      "[Setup]\r\nmute=1\r\n", "[setup]\nMUTE = 0x10\n[Language]\nTitle=Titel:\nbtnOK=\"OK\"\n",
      "; comment\r\n[Other]\r\nkey=value\r\n\r\n[Setup]\r\nother=2",
      "\xEF\xBB\xBF[Language]\nMuteMusic='Ton aus'\n[Setup]\nmute=-1\n[Setup]\nmute=0\n",
      "[Setup\nmute=yes\n=\n[]\n"};
  for (size_t i = 0; i < std::size(ini); ++i)
    out.put("ini", "ini" + std::to_string(i), std::string_view(ini[i]));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds OUT_DIR\n");
    return 2;
  }
  SeedWriter out{fs::path(argv[1])};
  for (const auto& [name, bytes] : bmp_files()) out.put("bmp", name, bytes);
  for (const auto& [name, bytes] : icon_files()) out.put("icon", name, bytes);
  for (const auto& [name, bytes] : jpeg_files()) out.put("jpeg", name, bytes);
  out.put("metafile", "enhanced", enhanced_metafile());
  out.put("metafile", "placeable", placeable_metafile());
  write_stream_seeds(out);
  write_saver_seeds(out);
  write_text_seeds(out);
  std::printf("wrote %d seeds under %s\n", out.count(), argv[1]);
  return 0;
}
