#pragma once
// Metafile pictures. We read the header for the picture's size and keep the bytes; drawing goes
// through the platform's metafile renderer, which by default draws nothing.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "package/metafile_renderer.h"
#include "package/picture.h"

namespace ss {

inline constexpr const char* kMetafileNotValid = "Metafile is not valid";
inline constexpr const char* kMetafileTooLarge = "Metafile is too large";

class MetafileGraphic final : public Graphic {
 public:
  MetafileGraphic() = default;  // the empty metafile
  MetafileGraphic(std::vector<uint8_t> bytes, MetafileFormat format, int32_t width, int32_t height)
      : bytes_(std::make_shared<const std::vector<uint8_t>>(std::move(bytes))),
        format_(format),
        width_(width),
        height_(height) {}

  std::string_view class_name() const override { return "TMetafile"; }
  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  void draw(Bitmap24& dst, const Rect& dst_rect) const override;

  std::span<const uint8_t> bytes() const { return *bytes_; }
  MetafileFormat format() const { return format_; }
  // The same metafile, drawn through renderer (not owned; it must outlive every draw). The
  // bytes are shared, not copied.
  std::shared_ptr<MetafileGraphic> drawn_through(MetafileRenderer& renderer) const;

 private:
  std::shared_ptr<const std::vector<uint8_t>> bytes_ =
      std::make_shared<const std::vector<uint8_t>>();
  MetafileRenderer* renderer_ = nullptr;
  MetafileFormat format_ = MetafileFormat::kEnhanced;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// Recognises an enhanced or a placeable metafile and takes its size in screen pixels (96 per
// inch). Anything else is "Metafile is not valid".
std::shared_ptr<MetafileGraphic> decode_metafile(std::span<const uint8_t> bytes);

// picture, its metafile drawn through renderer; any other picture as it is. The platform's
// renderer reaches every picture read for drawing this way.
Picture with_metafile_renderer(const Picture& picture, MetafileRenderer& renderer);

}  // namespace ss
