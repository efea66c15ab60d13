#include "picture_ingest.h"

#include <glob.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vips/vips8>

#include "jpeg_markers.h"
#include "media_kind.h"
#include "natural_order.h"
#include "package/picture.h"
#include "package/picture_limits.h"
#include "picture_payload.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

void start_vips() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (VIPS_INIT("slidemake") != 0) throw std::runtime_error("libvips failed to start");
    // Warnings reach the user through our own messages, not through the log.
    g_log_set_handler(
        "VIPS", G_LOG_LEVEL_WARNING, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
        nullptr);
  });
}

std::vector<uint8_t> read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("\"" + file.string() + "\": cannot open the file");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The runtime's own formats that libvips has no loader for (its BMP and ICO loading goes
// through a general-purpose converter we do not want to depend on).
bool runtime_native(MediaKind kind) {
  return kind == MediaKind::Bmp || kind == MediaKind::Icon || kind == MediaKind::EnhancedMetafile ||
         kind == MediaKind::PlaceableMetafile;
}

// The loader libvips would pick for these bytes, or "" when it is none of the photo formats we
// take (its general-purpose converter, PDF or text matrices would accept far too much).
std::string loader_for(const std::vector<uint8_t>& bytes) {
  start_vips();
  const char* name = vips_foreign_find_load_buffer(bytes.data(), bytes.size());
  vips_error_clear();
  if (!name) return "";
  const std::string loader = name;  // the class name, e.g. VipsForeignLoadJpegBuffer
  for (const char* format : {"Jpeg", "Png", "Webp", "Tiff", "Nsgif", "Heif", "Svg", "Jxl", "Jp2k"})
    if (loader.find(format) != std::string::npos) return loader;
  return "";
}

// Draws a picture of one of the runtime's own formats with the runtime's decoder.
VImage decode_with_runtime(const fs::path& file) {
  const PicturePayload payload = make_picture_payload(file.string());
  const ss::Picture picture = ss::read_picture_payload(payload.bytes);
  if (!picture.has_graphic() || picture.width() <= 0 || picture.height() <= 0)
    throw std::runtime_error("\"" + file.string() + "\": the picture is empty");
  ss::Bitmap24 bgr(picture.width(), picture.height());
  picture.graphic()->draw(bgr, bgr.bounds());
  std::vector<uint8_t> rgb(static_cast<size_t>(bgr.width()) * bgr.height() * 3);
  for (int32_t y = 0; y < bgr.height(); ++y) {
    const uint8_t* in = bgr.row(y);
    uint8_t* out = rgb.data() + static_cast<size_t>(y) * bgr.width() * 3;
    for (int32_t x = 0; x < bgr.width(); ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  VImage image = VImage::new_from_memory(rgb.data(), rgb.size(), bgr.width(), bgr.height(), 3,
                                         VIPS_FORMAT_UCHAR);
  return image.copy_memory();  // owns its pixels once `rgb` is gone
}

int orientation_of(const VImage& image) {
  if (image.get_typeof(VIPS_META_ORIENTATION) == 0) return 1;
  return image.get_int(VIPS_META_ORIENTATION);
}

// The largest size within the box asked for and the runtime's limits, keeping the aspect;
// never larger than the picture itself.
struct TargetSize {
  int width, height;
  bool shrinks;
};

TargetSize target_size(int width, int height, const IngestOptions& options) {
  double scale = 1.0;
  if (options.max_width > 0 && options.max_height > 0)
    scale =
        std::min({scale, double(options.max_width) / width, double(options.max_height) / height});
  scale =
      std::min({scale, double(ss::kMaxPictureSide) / width, double(ss::kMaxPictureSide) / height});
  const double pixels = double(width) * height * scale * scale;
  if (pixels > double(ss::kMaxPicturePixels))
    scale *= std::sqrt(double(ss::kMaxPicturePixels) / pixels) * 0.9999;
  if (scale >= 1.0) return {width, height, false};
  return {std::max(1, int(std::floor(width * scale))), std::max(1, int(std::floor(height * scale))),
          true};
}

// An embedded profile that only restates sRGB needs no conversion.
bool profile_is_srgb(const VImage& image) {
  if (image.get_typeof(VIPS_META_ICC_NAME) == 0) return true;
  size_t length = 0;
  const void* data = image.get_blob(VIPS_META_ICC_NAME, &length);
  const std::string_view profile(static_cast<const char*>(data), length);
  return profile.find("sRGB") != std::string_view::npos;
}

bool needs_nothing(const std::vector<uint8_t>& bytes, const VImage& header,
                   const TargetSize& size) {
  if (size.shrinks || orientation_of(header) != 1 || !profile_is_srgb(header)) return false;
  const VipsInterpretation space = header.interpretation();
  const bool colour = header.bands() == 3 && space == VIPS_INTERPRETATION_sRGB;
  const bool grey = header.bands() == 1 && space == VIPS_INTERPRETATION_B_W;
  return (colour || grey) && is_baseline_jpeg(bytes);
}

// Upright, sRGB, 8-bit, three bands, no alpha, within `size`.
VImage normalised(VImage image, const TargetSize& size) {
  if (image.get_typeof(VIPS_META_ICC_NAME) != 0) {
    try {
      image = image.icc_transform("srgb", VImage::option()->set("embedded", true));
    } catch (const vips::VError&) {
      vips_error_clear();  // a broken profile: fall back to the colour space's own rules
    }
  }
  image = image.autorot();
  if (image.interpretation() != VIPS_INTERPRETATION_sRGB)
    image = image.colourspace(VIPS_INTERPRETATION_sRGB);
  if (image.has_alpha()) image = image.flatten(VImage::option()->set("background", 0.0));
  if (image.bands() > 3) image = image.extract_band(0, VImage::option()->set("n", 3));
  if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  if (size.shrinks && (image.width() != size.width || image.height() != size.height)) {
    image = image.resize(double(size.width) / image.width(),
                         VImage::option()
                             ->set("vscale", double(size.height) / image.height())
                             ->set("kernel", VIPS_KERNEL_LANCZOS3));
  }
  return image;
}

IngestedPicture encode(VImage image, int quality) {
  void* buffer = nullptr;
  size_t length = 0;
  image.write_to_buffer(".jpg", &buffer, &length,
                        VImage::option()
                            ->set("Q", quality)
                            ->set("strip", true)
                            ->set("interlace", false)
                            ->set("optimize_coding", true));
  IngestedPicture out;
  out.jpeg.assign(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + length);
  g_free(buffer);
  out.width = image.width();
  out.height = image.height();
  return out;
}

VImage load(const std::vector<uint8_t>& bytes, const std::string& fail_on, int shrink) {
  auto* options = VImage::option()->set("fail_on", fail_on.c_str());
  if (shrink > 1) options->set("shrink", shrink);
  return VImage::new_from_buffer(bytes.data(), bytes.size(), "", options);
}

IngestedPicture convert(const std::vector<uint8_t>& bytes, const std::string& fail_on,
                        const IngestOptions& options) {
  VImage image = load(bytes, fail_on, 1);
  const bool swapped = orientation_of(image) >= 5 && orientation_of(image) <= 8;
  const int upright_w = swapped ? image.height() : image.width();
  const int upright_h = swapped ? image.width() : image.height();
  const TargetSize size = target_size(upright_w, upright_h, options);
  if (fail_on == "warning" && needs_nothing(bytes, image, size)) {
    // Decode once to learn that the data is whole; the stored bytes stay the original.
    (void)image.avg();
    IngestedPicture kept;
    kept.jpeg = bytes;
    kept.width = image.width();
    kept.height = image.height();
    kept.stored_as_is = true;
    return kept;
  }
  // A JPEG shrinks fastest while it is decoded (its DCT scale); a margin of two is left for the
  // Lanczos pass that sets the exact size, so the result stays as sharp.
  int shrink = 1;
  if (size.shrinks && detect_media_kind(bytes) == MediaKind::Jpeg)
    while (shrink < 8 && upright_w / (shrink * 2) >= 2 * size.width &&
           upright_h / (shrink * 2) >= 2 * size.height)
      shrink *= 2;
  if (shrink > 1) image = load(bytes, fail_on, shrink);
  return encode(normalised(image, size), options.quality);
}

std::string first_line(const std::string& text) {
  const size_t end = text.find('\n');
  return end == std::string::npos ? text : text.substr(0, end);
}

bool is_picture_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> head(4096);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  if (runtime_native(detect_media_kind(head))) return true;
  // Some loaders need the whole file to decide (SVG's root element may come late).
  return !loader_for(head).empty() || !loader_for(read_file(file)).empty();
}

}  // namespace

IngestedPicture ingest_picture(const fs::path& file, const IngestOptions& options,
                               const Warn& warn) {
  const std::string name = "\"" + file.string() + "\"";
  const std::vector<uint8_t> bytes = read_file(file);
  const MediaKind kind = detect_media_kind(bytes);
  try {
    if (runtime_native(kind)) {
      VImage image = decode_with_runtime(file);
      return encode(normalised(image, target_size(image.width(), image.height(), options)),
                    options.quality);
    }
    if (loader_for(bytes).empty())
      throw std::runtime_error(
          "not a supported picture (JPEG, PNG, WebP, HEIC, AVIF, TIFF, GIF, BMP, ICO, SVG, "
          "WMF, EMF)");
    try {
      return convert(bytes, "warning", options);
    } catch (const vips::VError& strict) {
      vips_error_clear();
      IngestedPicture picture = convert(bytes, "none", options);
      if (warn)
        warn(name + ": the picture is damaged (" + first_line(strict.what()) +
             "); stored as far as it decodes");
      return picture;
    }
  } catch (const vips::VError& e) {
    vips_error_clear();
    throw std::runtime_error(name + ": cannot read the picture: " + first_line(e.what()));
  } catch (const std::runtime_error& e) {
    const std::string what = e.what();
    if (what.starts_with(name)) throw;
    throw std::runtime_error(name + ": " + what);
  }
}

std::vector<fs::path> expand_picture_entry(const std::string& entry, const fs::path& base,
                                           const Warn& warn) {
  const fs::path named = fs::path(entry).is_absolute() ? fs::path(entry) : base / entry;
  std::vector<fs::path> candidates;
  std::error_code ec;
  if (fs::is_directory(named, ec)) {
    for (const auto& item : fs::directory_iterator(named, ec))
      if (item.is_regular_file(ec)) candidates.push_back(item.path().lexically_normal());
    if (ec) throw std::runtime_error("\"" + named.string() + "\": cannot list the folder");
  } else if (entry.find_first_of("*?[") != std::string::npos && !fs::exists(named, ec)) {
    glob_t found{};
    if (glob(named.c_str(), 0, nullptr, &found) == 0)
      for (size_t i = 0; i < found.gl_pathc; ++i)
        if (fs::is_regular_file(found.gl_pathv[i], ec))
          candidates.push_back(fs::path(found.gl_pathv[i]).lexically_normal());
    globfree(&found);
    if (candidates.empty() && warn) warn("\"" + entry + "\": no file matches");
  } else {
    return {named.lexically_normal()};  // one named file: reading it later fails if it must
  }
  std::sort(candidates.begin(), candidates.end(), [](const fs::path& a, const fs::path& b) {
    return natural_less(a.filename().string(), b.filename().string());
  });
  std::vector<fs::path> pictures;
  for (const fs::path& file : candidates) {
    if (file.filename().string().starts_with(".")) continue;  // system and editor leftovers
    if (is_picture_file(file))
      pictures.push_back(file);
    else if (warn)
      warn("\"" + file.string() + "\": skipped, not a picture slidemake reads");
  }
  return pictures;
}

}  // namespace slidemake
