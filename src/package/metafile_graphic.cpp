#include "package/metafile_graphic.h"

#include <utility>

#include "base/error.h"
#include "package/picture_bytes.h"
#include "package/picture_limits.h"

namespace ss {
namespace {

constexpr int64_t kScreenPixelsPerInch = 96;
constexpr int64_t kHundredthsMmPerInch = 2540;

constexpr uint32_t kEnhancedHeaderType = 1;
constexpr uint32_t kEnhancedSignature = 0x464D4520;  // " EMF"
constexpr size_t kEnhancedMinimumSize = 101;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderSize = 22;

// v·num/den rounded to the nearest integer, halves away from zero; v is not negative.
int64_t scale_rounded(int64_t v, int64_t num, int64_t den) {
  return (v * num + den / 2) / den;
}

int32_t i32_at(std::span<const uint8_t> b, size_t offset) {
  return static_cast<int32_t>(le32(b, offset));
}
int16_t i16_at(std::span<const uint8_t> b, size_t offset) {
  return static_cast<int16_t>(le16(b, offset));
}

bool is_enhanced(std::span<const uint8_t> b) {
  return b.size() >= kEnhancedMinimumSize && le32(b, 0) == kEnhancedHeaderType &&
         le32(b, 40) == kEnhancedSignature;
}

bool is_placeable(std::span<const uint8_t> b) {
  if (!has(b, 0, kPlaceableHeaderSize) || le32(b, 0) != kPlaceableKey) return false;
  uint16_t checksum = 0;
  for (size_t i = 0; i < 10; ++i) checksum ^= le16(b, 2 * i);
  return checksum == le16(b, 20);
}

// Enhanced: the frame rectangle, in hundredths of a millimetre, gives the size; a header without
// a usable frame falls back on the bounds, in device pixels (both edges inclusive).
std::pair<int64_t, int64_t> enhanced_size(std::span<const uint8_t> b) {
  const int64_t frame_w = int64_t{i32_at(b, 32)} - i32_at(b, 24);
  const int64_t frame_h = int64_t{i32_at(b, 36)} - i32_at(b, 28);
  if (frame_w > 0 && frame_h > 0)
    return {scale_rounded(frame_w, kScreenPixelsPerInch, kHundredthsMmPerInch),
            scale_rounded(frame_h, kScreenPixelsPerInch, kHundredthsMmPerInch)};
  const int64_t bounds_w = int64_t{i32_at(b, 16)} - i32_at(b, 8) + 1;
  const int64_t bounds_h = int64_t{i32_at(b, 20)} - i32_at(b, 12) + 1;
  if (bounds_w > 0 && bounds_h > 0) return {bounds_w, bounds_h};
  return {0, 0};
}

// Placeable: the bounding box in metafile units and the units per inch (0 is read as 96).
std::pair<int64_t, int64_t> placeable_size(std::span<const uint8_t> b) {
  const int64_t box_w = int64_t{i16_at(b, 10)} - i16_at(b, 6);
  const int64_t box_h = int64_t{i16_at(b, 12)} - i16_at(b, 8);
  const int64_t inch = le16(b, 14) == 0 ? kScreenPixelsPerInch : le16(b, 14);
  if (box_w <= 0 || box_h <= 0) return {0, 0};
  return {scale_rounded(box_w, kScreenPixelsPerInch, inch),
          scale_rounded(box_h, kScreenPixelsPerInch, inch)};
}

}  // namespace

void MetafileGraphic::draw(Bitmap24& dst, const Rect& dst_rect) const {
  if (empty() || dst_rect.empty()) return;
  if (renderer_ != nullptr) renderer_->draw(*bytes_, format_, dst, dst_rect);
}

std::shared_ptr<MetafileGraphic> MetafileGraphic::drawn_through(MetafileRenderer& renderer) const {
  auto copy = std::make_shared<MetafileGraphic>(*this);
  copy->renderer_ = &renderer;
  return copy;
}

Picture with_metafile_renderer(const Picture& picture, MetafileRenderer& renderer) {
  const auto* metafile = dynamic_cast<const MetafileGraphic*>(picture.graphic());
  return metafile != nullptr ? Picture(metafile->drawn_through(renderer)) : picture;
}

std::shared_ptr<MetafileGraphic> decode_metafile(std::span<const uint8_t> bytes) {
  MetafileFormat format;
  std::pair<int64_t, int64_t> size;
  if (is_enhanced(bytes)) {
    format = MetafileFormat::kEnhanced;
    size = enhanced_size(bytes);
  } else if (is_placeable(bytes)) {
    format = MetafileFormat::kPlaceable;
    size = placeable_size(bytes);
  } else {
    throw SaverError(kMetafileNotValid);
  }
  if (!picture_size_allowed(size.first, size.second)) throw SaverError(kMetafileTooLarge);
  return std::make_shared<MetafileGraphic>(std::vector<uint8_t>(bytes.begin(), bytes.end()), format,
                                           static_cast<int32_t>(size.first),
                                           static_cast<int32_t>(size.second));
}

}  // namespace ss
