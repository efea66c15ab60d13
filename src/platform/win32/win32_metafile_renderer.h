#pragma once
// Metafile pictures played by GDI: enhanced ones as they are, placeable ones converted from
// their classic records with the size their header gives. Playing happens in a copy of the
// target area of our bitmap, so what the records leave untouched keeps its pixels.
#include "package/metafile_renderer.h"

namespace ss {

class Win32MetafileRenderer final : public MetafileRenderer {
 public:
  void draw(std::span<const uint8_t> bytes, MetafileFormat format, Bitmap24& dst,
            const Rect& dst_rect) override;
};

}  // namespace ss
