// Painting and geometry of the picture show control: where the picture lies, how the client
// area is composed, how a changed part of a frame maps to the parent, and the set-up of a
// transition's bitmaps.
#include <algorithm>

#include "base/muldiv.h"
#include "gfx/raster.h"
#include "transition/fit_rect.h"
#include "transition/transition_view.h"
#include "transition/transition_view_internal.h"

namespace ss {
namespace {

// Above this many tiles, one tile is rendered once and then copied.
constexpr int64_t kDirectTileLimit = 16;

// Stretch-copies `area` of src over the whole of dst. Parts of area outside src are not
// copied: dst keeps its content there.
void CopyArea(Bitmap24& dst, const Bitmap24& src, const Rect& area) {
  if (dst.empty() || area.empty()) return;
  const Rect visible = area.intersect(src.bounds());
  if (visible.empty()) return;
  const auto map_x = [&](int32_t x) { return MulDiv(x - area.left, dst.width(), area.width()); };
  const auto map_y = [&](int32_t y) { return MulDiv(y - area.top, dst.height(), area.height()); };
  const Rect target{map_x(visible.left), map_y(visible.top), map_x(visible.right),
                    map_y(visible.bottom)};
  stretch_copy(dst, target, src, visible);
}

}  // namespace

void TCustomTransitionView::UpdatePictureRect() {
  if (screen_.empty()) return;
  picture_rect_ = screen_.bounds();
  if (center_) {
    picture_rect_ = picture_rect_.offset(idiv(Width() - screen_.width(), 2),
                                         idiv(Height() - screen_.height(), 2));
  }
}

Rect TCustomTransitionView::DisplayRect() const {
  if (!stretch_) return picture_rect_;
  if (stretch_fine_) return FitRect(picture_rect_, ClientRect());
  return ClientRect();
}

void TCustomTransitionView::WMPaint(ControlCanvas& canvas) {
  // Only the GUI thread paints, and a paint never re-enters itself.
  if (painting_ || !visible_ || !loop_.is_gui_thread()) return;
  view_internal::FlagScope painting(painting_);
  Paint(canvas);
}

void TCustomTransitionView::WMSize() {
  if (!picture_.has_graphic()) return;
  UpdatePictureRect();
  if (ShouldRepaintScreen()) Invalidate();
}

void TCustomTransitionView::Paint(ControlCanvas& canvas) {
  const Rect r = ClientRect();
  if (paint_buffer_.width() != r.width() || paint_buffer_.height() != r.height())
    paint_buffer_.resize(r.width(), r.height());
  fill(paint_buffer_, r, resolve_color(color_));
  DrawBackground(r);
  DrawScreen(r);
  if (host_.design_time()) DrawDesignFrame();
  canvas.copy_from(paint_buffer_);
}

void TCustomTransitionView::DrawBackground(const Rect& r) {
  const Graphic* graphic = bg_picture_.graphic();
  if (graphic == nullptr || graphic->empty()) return;
  const int32_t gw = graphic->width();
  const int32_t gh = graphic->height();
  switch (bg_mode_) {
    case bmNone:
      break;
    case bmStretched:
      graphic->draw(paint_buffer_, r);
      break;
    case bmCentered: {
      const int32_t x = idiv(r.width() - gw, 2);
      const int32_t y = idiv(r.height() - gh, 2);
      graphic->draw(paint_buffer_, {x, y, x + gw, y + gh});
      break;
    }
    case bmTiled: {
      const int32_t rows = idiv(r.height(), gh);
      const int32_t columns = idiv(r.width(), gw);
      // Every tile lands on the plain colour, so one rendered tile serves for all of them.
      Bitmap24 tile;
      if (int64_t{rows + 1} * (columns + 1) > kDirectTileLimit) {
        tile.resize(gw, gh);
        fill(tile, tile.bounds(), resolve_color(color_));
        graphic->draw(tile, tile.bounds());
      }
      for (int32_t i = 0; i <= rows; ++i) {
        for (int32_t j = 0; j <= columns; ++j) {
          const int32_t x = r.left + gw * j;
          const int32_t y = r.top + gh * i;
          if (tile.empty())
            graphic->draw(paint_buffer_, {x, y, x + gw, y + gh});
          else
            draw(paint_buffer_, x, y, tile);
        }
      }
      break;
    }
  }
}

void TCustomTransitionView::DrawScreen(const Rect& r) {
  if (screen_.empty()) return;
  view_internal::CountedScope in_use(screen_locks_);
  if (!stretch_)
    draw(paint_buffer_, picture_rect_.left, picture_rect_.top, screen_);
  else
    stretch_copy(paint_buffer_, stretch_fine_ ? FitRect(picture_rect_, r) : r, screen_,
                 screen_.bounds());
}

void TCustomTransitionView::DrawDesignFrame() {
  // A dashed outline so that the control can be found on an empty form.
  const int32_t w = paint_buffer_.width();
  const int32_t h = paint_buffer_.height();
  const auto dash = [&](int32_t x, int32_t y) {
    if (((x + y) / 4) % 2 == 0) paint_buffer_.set_pixel(x, y, kBlack);
  };
  for (int32_t x = 0; x < w; ++x) {
    dash(x, 0);
    dash(x, h - 1);
  }
  for (int32_t y = 0; y < h; ++y) {
    dash(0, y);
    dash(w - 1, y);
  }
}

void TCustomTransitionView::InvalidateFrameArea(Rect r) {
  const Rect p = picture_rect_;
  if (stretch_) {
    if (p.width() <= 0 || p.height() <= 0) return;
    const Rect t = DisplayRect();
    r = {MulDiv(r.left, t.width(), p.width()) + t.left,
         MulDiv(r.top, t.height(), p.height()) + t.top,
         MulDiv(r.right, t.width(), p.width()) + t.left,
         MulDiv(r.bottom, t.height(), p.height()) + t.top};
  } else {
    if (center_) r = r.offset(p.left, p.top);
    r = {std::max(r.left, p.left), std::max(r.top, p.top), std::min(r.right, p.right),
         std::min(r.bottom, p.bottom)};
  }
  if (destroying_ || r.empty()) return;
  host_.invalidate(r.offset(Left(), Top()));
}

void TCustomTransitionView::ResizeScreen(int32_t width, int32_t height) {
  if (screen_.width() == width && screen_.height() == height) return;
  // A resized bitmap keeps its old content at the top-left; the rest takes the fill colour.
  Bitmap24 resized(width, height);
  fill(resized, resized.bounds(), resolve_color(color_));
  draw(resized, 0, 0, screen_);
  screen_ = std::move(resized);
}

void TCustomTransitionView::PrepareTransition() {
  const int32_t w = picture_.width();
  const int32_t h = picture_.height();
  ResizeScreen(w, h);
  UpdatePictureRect();

  // What was last painted where the new picture will appear, scaled to the picture's size. A
  // control never painted has an empty paint buffer, and the old image stays as created.
  auto old_image = std::make_shared<Bitmap24>(w, h);
  CopyArea(*old_image, paint_buffer_, DisplayRect());

  auto new_image = std::make_shared<Bitmap24>(w, h);
  picture_.graphic()->draw(*new_image, {0, 0, w, h});

  old_image_ = std::move(old_image);
  new_image_ = std::move(new_image);
  SetProgress(reverse_ ? 100 : 0);
}

}  // namespace ss
