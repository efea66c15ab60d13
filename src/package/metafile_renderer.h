#pragma once
// How a platform draws metafile pictures. Portable code only parses a metafile's header for its
// size; playing its records needs the platform's graphics, which the platform hands to whoever
// reads pictures (with_metafile_renderer). Without one a metafile keeps its size but draws
// nothing.
#include <cstdint>
#include <span>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

enum class MetafileFormat {
  kEnhanced,   // the records begin with the enhanced header (type 1, " EMF" signature)
  kPlaceable,  // a 22-byte placeable header, then the records of a classic metafile
};

class MetafileRenderer {
 public:
  virtual ~MetafileRenderer() = default;
  // Plays the metafile scaled into dst_rect of dst, clipped to dst. `bytes` is the whole
  // metafile as stored, headers included.
  virtual void draw(std::span<const uint8_t> bytes, MetafileFormat format, Bitmap24& dst,
                    const Rect& dst_rect) = 0;
};

// The renderer that draws nothing.
class NullMetafileRenderer final : public MetafileRenderer {
 public:
  void draw(std::span<const uint8_t>, MetafileFormat, Bitmap24&, const Rect&) override {}
};

}  // namespace ss
