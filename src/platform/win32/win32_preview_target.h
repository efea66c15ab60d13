#pragma once
// The display settings' preview window, a window of another process known by its handle: the
// picture is drawn once on its device context.
#include "platform/preview_target.h"

namespace ss {

class Win32PreviewTarget final : public PreviewTarget {
 public:
  bool is_visible(intptr_t window) override;
  Rect window_rect(intptr_t window) override;
  void draw(intptr_t window, const Bitmap24& image) override;
};

}  // namespace ss
