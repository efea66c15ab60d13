#include "platform/win32/win32_metafile_renderer.h"

#include <windows.h>

#include "platform/win32/dib_surface.h"

namespace ss {
namespace {

constexpr size_t kPlaceableHeaderSize = 22;
constexpr int32_t kDefaultUnitsPerInch = 96;
constexpr int32_t kHimetricPerInch = 2540;

int16_t i16_at(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

// The classic records behind the placeable header, as an enhanced metafile of the header's size
// in hundredths of a millimetre.
HENHMETAFILE convert_placeable(std::span<const uint8_t> bytes) {
  if (bytes.size() <= kPlaceableHeaderSize) return nullptr;
  const int32_t width = int32_t{i16_at(bytes, 10)} - i16_at(bytes, 6);
  const int32_t height = int32_t{i16_at(bytes, 12)} - i16_at(bytes, 8);
  const int32_t stored_inch = static_cast<uint16_t>(i16_at(bytes, 14));
  const int32_t inch = stored_inch == 0 ? kDefaultUnitsPerInch : stored_inch;
  METAFILEPICT picture = {};
  picture.mm = MM_ANISOTROPIC;
  picture.xExt = MulDiv(width, kHimetricPerInch, inch);
  picture.yExt = MulDiv(height, kHimetricPerInch, inch);
  const std::span<const uint8_t> records = bytes.subspan(kPlaceableHeaderSize);
  return SetWinMetaFileBits(static_cast<UINT>(records.size()), records.data(), nullptr, &picture);
}

HENHMETAFILE load_metafile(std::span<const uint8_t> bytes, MetafileFormat format) {
  if (bytes.size() > 0x7FFFFFFF) return nullptr;
  if (format == MetafileFormat::kEnhanced)
    return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
  return convert_placeable(bytes);
}

}  // namespace

void Win32MetafileRenderer::draw(std::span<const uint8_t> bytes, MetafileFormat format,
                                 Bitmap24& dst, const Rect& dst_rect) {
  const Rect area = dst_rect.intersect(dst.bounds());
  if (area.empty()) return;
  const HENHMETAFILE metafile = load_metafile(bytes, format);
  if (metafile == nullptr) return;
  {
    DibSurface surface(dst, area);
    if (surface.valid()) {
      const RECT frame = {dst_rect.left - area.left, dst_rect.top - area.top,
                          dst_rect.right - area.left, dst_rect.bottom - area.top};
      PlayEnhMetaFile(surface.dc(), metafile, &frame);
      surface.store(dst);
    }
  }
  DeleteEnhMetaFile(metafile);
}

}  // namespace ss
