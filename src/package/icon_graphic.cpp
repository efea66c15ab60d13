#include "package/icon_graphic.h"

#include <algorithm>
#include <cstdlib>

#include "base/error.h"
#include "gfx/area_scale.h"
#include "package/bitmap_graphic.h"
#include "package/bmp_decoder.h"
#include "package/picture_bytes.h"
#include "package/png_codec.h"

namespace ss {
namespace {

constexpr size_t kDirHeaderSize = 6;
constexpr size_t kDirEntrySize = 16;

struct StoredEntry {
  IconDirEntry dir;
  std::span<const uint8_t> data;
};

int depth_of(uint16_t bit_count, uint8_t color_count) {
  if (bit_count != 0) return bit_count;
  // Old writers leave the depth out and give the palette size instead.
  if (color_count == 2) return 1;
  if (color_count == 16) return 4;
  return 8;
}

// Entries whose image data lies within the file and that this build can decode.
std::vector<StoredEntry> read_directory(std::span<const uint8_t> file) {
  if (!has(file, 0, kDirHeaderSize)) throw SaverError(kIconNotValid);
  const uint16_t type = le16(file, 2);
  const uint16_t count = le16(file, 4);
  if (type > 1 || count == 0 || !has(file, kDirHeaderSize, kDirEntrySize * count))
    throw SaverError(kIconNotValid);
  std::vector<StoredEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = kDirHeaderSize + i * kDirEntrySize;
    const uint32_t size = le32(file, at + 8);
    const uint32_t offset = le32(file, at + 12);
    if (!has(file, offset, size)) continue;
    const auto data = file.subspan(offset, size);
    if (is_png(data) && !png_supported()) continue;
    const IconDirEntry dir{file[at] == 0 ? 256 : file[at], file[at + 1] == 0 ? 256 : file[at + 1],
                           depth_of(le16(file, at + 6), file[at + 2])};
    entries.push_back({dir, data});
  }
  if (entries.empty()) throw SaverError(kIconNotValid);
  return entries;
}

bool all_equal(const std::vector<uint8_t>& bytes, uint8_t value) {
  return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t b) { return b == value; });
}

// The AND mask: 1 marks a transparent pixel. Rows are bottom-up like the colour rows.
std::vector<uint8_t> alpha_from_mask(std::span<const uint8_t> mask, int32_t w, int32_t h) {
  const size_t stride = dib_stride(w, 1);
  std::vector<uint8_t> alpha(static_cast<size_t>(w) * h);
  for (int32_t r = 0; r < h; ++r) {
    const uint8_t* bits = mask.data() + static_cast<size_t>(r) * stride;
    uint8_t* out = alpha.data() + static_cast<size_t>(h - 1 - r) * w;
    for (int32_t x = 0; x < w; ++x) out[x] = ((bits[x >> 3] >> (7 - (x & 7))) & 1) ? 0 : 255;
  }
  return alpha;
}

std::shared_ptr<IconGraphic> decode_bitmap_entry(std::span<const uint8_t> data) {
  const DibErrors errors{kIconNotValid, kIconTooLarge};
  const DibInfo info = parse_dib_header(data, errors, /*halve_height=*/true);
  // The mask follows the colour rows, so their size must be known: no run-length entries.
  if (info.compression != kBiRgb && info.compression != kBiBitfields)
    throw SaverError(kIconNotValid);
  Bitmap24 pixels;
  std::vector<uint8_t> alpha;
  const auto colour_bits = data.subspan(std::min(info.pixels_offset, data.size()));
  decode_dib_pixels(info, colour_bits, pixels, errors, &alpha);
  // 32-bit entries written before alpha channels existed carry zeros there: the mask decides.
  if (all_equal(alpha, 0)) alpha.clear();
  if (alpha.empty()) {
    const size_t mask_at = dib_stride(info.width, info.bit_count) * info.height;
    const size_t mask_size = dib_stride(info.width, 1) * info.height;
    if (has(colour_bits, mask_at, mask_size))
      alpha = alpha_from_mask(colour_bits.subspan(mask_at, mask_size), info.width, info.height);
  }
  if (all_equal(alpha, 255)) alpha.clear();
  return std::make_shared<IconGraphic>(std::move(pixels), std::move(alpha));
}

std::shared_ptr<IconGraphic> decode_png_entry(std::span<const uint8_t> data) {
  PngImage image = decode_png(data, {kIconNotValid, kIconTooLarge});
  if (all_equal(image.alpha, 255)) image.alpha.clear();
  return std::make_shared<IconGraphic>(std::move(image.pixels), std::move(image.alpha));
}

}  // namespace

void IconGraphic::draw(Bitmap24& dst, const Rect& dst_rect) const {
  if (alpha_.empty())
    stretch_nearest(pixels_, dst, dst_rect);
  else
    stretch_nearest_blend(pixels_, alpha_, dst, dst_rect);
}

void IconGraphic::draw_averaged(Bitmap24& dst, const Rect& dst_rect) const {
  const bool shrunk = dst_rect.width() < pixels_.width() || dst_rect.height() < pixels_.height();
  if (alpha_.empty()) {
    scale_area(pixels_, dst, dst_rect);
    return;
  }
  const Rect visible = dst_rect.intersect(dst.bounds());
  if (!shrunk || visible.empty()) {
    draw(dst, dst_rect);
    return;
  }
  // The colours weighted by their opacity and the opacity itself are averaged apart; the
  // destination then shows through by what the area lets through.
  const int32_t w = pixels_.width();
  const int32_t h = pixels_.height();
  Bitmap24 weighted(w, h);
  Bitmap24 opacity(w, h);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* in = pixels_.row(y);
    const uint8_t* a = alpha_.data() + static_cast<size_t>(y) * w;
    uint8_t* out = weighted.row(y);
    uint8_t* cover = opacity.row(y);
    for (int32_t x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        out[3 * x + c] = static_cast<uint8_t>((in[3 * x + c] * a[x] + 127) / 255);
        cover[3 * x + c] = a[x];
      }
  }
  const Rect local = visible.offset(-dst_rect.left, -dst_rect.top);
  const Rect placed = dst_rect.offset(-visible.left, -visible.top);
  Bitmap24 colour(local.width(), local.height());
  Bitmap24 covered(local.width(), local.height());
  scale_area(weighted, colour, placed);
  scale_area(opacity, covered, placed);
  for (int32_t y = 0; y < local.height(); ++y) {
    uint8_t* out = dst.row(visible.top + y) + static_cast<size_t>(visible.left) * 3;
    const uint8_t* c = colour.row(y);
    const uint8_t* a = covered.row(y);
    for (int32_t i = 0; i < local.width() * 3; ++i)
      out[i] = static_cast<uint8_t>(std::min(255, c[i] + (out[i] * (255 - a[i]) + 127) / 255));
  }
}

size_t choose_icon_entry(std::span<const IconDirEntry> entries) {
  auto distance = [](const IconDirEntry& e) {
    return std::abs(e.width - kStandardIconSize) + std::abs(e.height - kStandardIconSize);
  };
  auto better = [&](const IconDirEntry& a, const IconDirEntry& b) {
    if (distance(a) != distance(b)) return distance(a) < distance(b);
    if (a.width + a.height != b.width + b.height) return a.width + a.height > b.width + b.height;
    return a.bit_count > b.bit_count;
  };
  size_t best = 0;
  for (size_t i = 1; i < entries.size(); ++i)
    if (better(entries[i], entries[best])) best = i;
  return best;
}

std::shared_ptr<IconGraphic> decode_icon(std::span<const uint8_t> file) {
  const std::vector<StoredEntry> entries = read_directory(file);
  std::vector<IconDirEntry> dirs;
  dirs.reserve(entries.size());
  for (const StoredEntry& e : entries) dirs.push_back(e.dir);
  const auto data = entries[choose_icon_entry(dirs)].data;
  return is_png(data) ? decode_png_entry(data) : decode_bitmap_entry(data);
}

}  // namespace ss
