#include "base/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace ss {
namespace {

// The part of [l, r) × [t, b) inside the bitmap; 64-bit so that far-off rectangles cannot wrap.
Rect clip_to(const Bitmap24& bmp, int64_t l, int64_t t, int64_t r, int64_t b) {
  l = std::max<int64_t>(l, 0);
  t = std::max<int64_t>(t, 0);
  r = std::min<int64_t>(r, bmp.width());
  b = std::min<int64_t>(b, bmp.height());
  if (r <= l || b <= t) return {};
  return {static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
          static_cast<int32_t>(b)};
}

// Calls run(y, x0, x1) for every row piece of r that lies in clip (all of r without a clip).
// The clip is walked band by band and span by span; no pixel is tested on its own.
template <class Run>
void for_each_run(const Rect& r, const Region* clip, Run run) {
  if (r.empty()) return;
  if (!clip) {
    for (int32_t y = r.top; y < r.bottom; ++y) run(y, r.left, r.right);
    return;
  }
  const auto& bands = clip->bands();
  auto band = std::upper_bound(bands.begin(), bands.end(), r.top,
                               [](int32_t y, const Region::Band& b) { return y < b.bottom; });
  for (; band != bands.end() && band->top < r.bottom; ++band) {
    const auto first =
        std::upper_bound(band->spans.begin(), band->spans.end(), r.left,
                         [](int32_t x, const Region::Span& s) { return x < s.right; });
    const int32_t y0 = std::max(band->top, r.top);
    const int32_t y1 = std::min(band->bottom, r.bottom);
    for (int32_t y = y0; y < y1; ++y) {
      for (auto span = first; span != band->spans.end() && span->left < r.right; ++span)
        run(y, std::max(span->left, r.left), std::min(span->right, r.right));
    }
  }
}

void fill_row(uint8_t* p, int32_t count, uint8_t blue, uint8_t green, uint8_t red) {
  for (int32_t i = 0; i < count; ++i, p += 3) {
    p[0] = blue;
    p[1] = green;
    p[2] = red;
  }
}

// The destination pixels of one stretched axis that receive a source pixel, and the source
// coordinate of each. Pixel i of the extent, counted from the origin, samples the source at
// s0 + floor((i + 1/2)·sn / n): nearest sample at pixel centres. A negative extent covers the
// same half-open span as the rectangle between origin and origin + extent, but is counted from
// the origin side, which mirrors it.
struct AxisMap {
  int32_t first = 0;            // the first destination coordinate
  std::vector<int32_t> source;  // the source coordinate of first, first + 1, ...
};

constexpr int64_t kExactSpan = int64_t{1} << 29;

AxisMap map_axis(int32_t origin, int32_t extent, int64_t s0, int64_t sn, int32_t dst_size,
                 int32_t src_size) {
  AxisMap map;
  const int64_t n = extent < 0 ? -int64_t{extent} : extent;
  const int64_t lo = std::max<int64_t>(extent < 0 ? int64_t{origin} + extent : origin, 0);
  const int64_t hi = std::min<int64_t>(extent < 0 ? origin : int64_t{origin} + extent, dst_size);
  if (n == 0 || hi <= lo) return map;
  int64_t first = -1;
  for (int64_t c = lo; c < hi; ++c) {
    const int64_t i = extent > 0 ? c - origin : origin - 1 - c;
    // (2i + 1)·sn stays below 2^63 unless the source span is absurdly wide.
    const int64_t s =
        sn <= kExactSpan
            ? s0 + (2 * i + 1) * sn / (2 * n)
            : s0 + static_cast<int64_t>(std::floor((2 * i + 1) * static_cast<long double>(sn) /
                                                   static_cast<long double>(2 * n)));
    // The mapping is monotonic, so the columns with a source inside the bitmap are contiguous;
    // the others keep what they show.
    if (s < 0 || s >= src_size) continue;
    if (first < 0) first = c;
    map.source.push_back(static_cast<int32_t>(s));
  }
  map.first = static_cast<int32_t>(first);
  return map;
}

}  // namespace

void fill(Bitmap24& dst, const Rect& r, Color color, const Region* clip) {
  const Rect area = clip_to(dst, r.left, r.top, r.right, r.bottom);
  const uint8_t blue = color_blue(color);
  const uint8_t green = color_green(color);
  const uint8_t red = color_red(color);
  for_each_run(area, clip, [&](int32_t y, int32_t x0, int32_t x1) {
    fill_row(dst.row(y) + static_cast<size_t>(x0) * 3, x1 - x0, blue, green, red);
  });
}

void draw(Bitmap24& dst, int32_t x, int32_t y, const Bitmap24& src, const Region* clip) {
  const Rect area = clip_to(dst, x, y, int64_t{x} + src.width(), int64_t{y} + src.height());
  for_each_run(area, clip, [&](int32_t row, int32_t x0, int32_t x1) {
    std::memcpy(dst.row(row) + static_cast<size_t>(x0) * 3,
                src.row(row - y) + static_cast<size_t>(x0 - x) * 3,
                static_cast<size_t>(x1 - x0) * 3);
  });
}

void stretch_copy(Bitmap24& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                  const Bitmap24& src, const Rect& src_rect, const Region* clip) {
  if (src_rect.empty() || dst.empty() || src.empty()) return;
  const int64_t sw = int64_t{src_rect.right} - src_rect.left;
  const int64_t sh = int64_t{src_rect.bottom} - src_rect.top;
  const AxisMap xs = map_axis(dx, dw, src_rect.left, sw, dst.width(), src.width());
  const AxisMap ys = map_axis(dy, dh, src_rect.top, sh, dst.height(), src.height());
  if (xs.source.empty() || ys.source.empty()) return;
  const Rect area{xs.first, ys.first, xs.first + static_cast<int32_t>(xs.source.size()),
                  ys.first + static_cast<int32_t>(ys.source.size())};

  // One-to-one columns in order (same width, not mirrored) copy whole row pieces.
  const bool straight_columns = dw == sw;
  std::vector<size_t> offsets(xs.source.size());
  for (size_t i = 0; i < offsets.size(); ++i) offsets[i] = static_cast<size_t>(xs.source[i]) * 3;

  for_each_run(area, clip, [&](int32_t y, int32_t x0, int32_t x1) {
    const auto k = static_cast<size_t>(y - area.top);
    uint8_t* to = dst.row(y) + static_cast<size_t>(x0) * 3;
    const size_t bytes = static_cast<size_t>(x1 - x0) * 3;
    // Without a clip every run is a whole row; a row that samples the same source row as the
    // one above (an enlargement) repeats it.
    if (!clip && k > 0 && ys.source[k] == ys.source[k - 1]) {
      std::memcpy(to, dst.row(y - 1) + static_cast<size_t>(x0) * 3, bytes);
      return;
    }
    const uint8_t* from = src.row(ys.source[k]);
    const size_t* offset = offsets.data() + (x0 - area.left);
    if (straight_columns) {
      std::memcpy(to, from + offset[0], bytes);
      return;
    }
    for (int32_t i = 0; i < x1 - x0; ++i, to += 3) {
      const uint8_t* p = from + offset[i];
      to[0] = p[0];
      to[1] = p[1];
      to[2] = p[2];
    }
  });
}

}  // namespace ss
