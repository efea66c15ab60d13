#pragma once
// The foreign preview window of the configuration: one handle, a screen rectangle, and a
// visibility that follows the poll count and the virtual clock (see HeadlessConfig). What is
// drawn into it lands in an image of the window's size, clipped like a real window's DC.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "platform/headless/headless_context.h"
#include "platform/preview_target.h"

namespace ss {

class HeadlessPreview final : public PreviewTarget {
 public:
  explicit HeadlessPreview(HeadlessContext& context);

  bool is_visible(intptr_t window) override;
  Rect window_rect(intptr_t window) override;
  void draw(intptr_t window, const Bitmap24& image) override;

  // The test's side.
  const Bitmap24& image() const { return image_; }
  int polls() const { return polls_; }
  int draws() const { return draws_; }

 private:
  bool ours(intptr_t window) const { return window == context_.config.preview_window; }

  HeadlessContext& context_;
  Bitmap24 image_;
  int polls_ = 0;
  int visible_polls_ = 0;
  bool gone_ = false;
  int draws_ = 0;
};

}  // namespace ss
