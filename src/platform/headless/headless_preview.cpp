#include "platform/headless/headless_preview.h"

#include "gfx/raster.h"

namespace ss {

HeadlessPreview::HeadlessPreview(HeadlessContext& context)
    : context_(context),
      image_(context.config.preview_rect.width(), context.config.preview_rect.height()) {}

bool HeadlessPreview::is_visible(intptr_t window) {
  if (!ours(window)) return false;
  ++polls_;
  const HeadlessConfig& config = context_.config;
  if (gone_) return false;
  if (static_cast<uint32_t>(polls_) <= config.preview_hidden_polls) return false;
  const bool polls_left = !config.preview_visible_polls ||
                          static_cast<uint32_t>(visible_polls_) < *config.preview_visible_polls;
  const bool time_left =
      !config.preview_visible_until_ms || context_.app.now_ms() < *config.preview_visible_until_ms;
  if (!polls_left || !time_left) {
    gone_ = true;  // a window that went away does not come back
    return false;
  }
  ++visible_polls_;
  return true;
}

Rect HeadlessPreview::window_rect(intptr_t window) {
  return ours(window) ? context_.config.preview_rect : Rect{};
}

void HeadlessPreview::draw(intptr_t window, const Bitmap24& image) {
  context_.log.add("preview.draw " + std::to_string(window) + " " + std::to_string(image.width()) +
                   "x" + std::to_string(image.height()));
  if (!ours(window)) return;
  ++draws_;
  ::ss::draw(image_, 0, 0, image);
}

}  // namespace ss
