#pragma once
// How a platform draws metafile pictures. Portable code only parses a metafile's header for its
// size; playing its records needs the platform's graphics. Without a renderer a metafile picture
// keeps its size but draws nothing.
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

namespace detail {
inline MetafileRenderer*& metafile_renderer_slot() {
  static MetafileRenderer* renderer = nullptr;
  return renderer;
}
}  // namespace detail

// The renderer in use: the platform's when one was installed, else the null renderer.
inline MetafileRenderer& metafile_renderer() {
  static NullMetafileRenderer null_renderer;
  MetafileRenderer* r = detail::metafile_renderer_slot();
  return r ? *r : null_renderer;
}

// Installs a renderer (not owned; it must outlive every draw). nullptr restores the null one.
inline void set_metafile_renderer(MetafileRenderer* renderer) {
  detail::metafile_renderer_slot() = renderer;
}

}  // namespace ss
