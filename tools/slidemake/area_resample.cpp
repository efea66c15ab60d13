#include "area_resample.h"

#include <algorithm>
#include <vector>

namespace slidemake {

ss::Bitmap24 area_resample(const ss::Bitmap24& source, const ss::Rect& from, int32_t width,
                           int32_t height) {
  ss::Bitmap24 out(width, height);
  const int64_t from_w = from.right - from.left, from_h = from.bottom - from.top;
  if (from_w <= 0 || from_h <= 0 || width <= 0 || height <= 0) return out;
  // Column spans of every output pixel, computed once.
  std::vector<int32_t> x0(static_cast<size_t>(width)), x1(static_cast<size_t>(width));
  for (int32_t x = 0; x < width; ++x) {
    x0[static_cast<size_t>(x)] = from.left + static_cast<int32_t>(x * from_w / width);
    x1[static_cast<size_t>(x)] = std::max(
        x0[static_cast<size_t>(x)] + 1, from.left + static_cast<int32_t>((x + 1) * from_w / width));
  }
  std::vector<uint32_t> sums(static_cast<size_t>(width) * 3);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t y0 = from.top + static_cast<int32_t>(y * from_h / height);
    const int32_t y1 = std::max(y0 + 1, from.top + static_cast<int32_t>((y + 1) * from_h / height));
    std::fill(sums.begin(), sums.end(), 0);
    for (int32_t sy = y0; sy < y1; ++sy) {
      const uint8_t* row = source.row(sy);
      for (int32_t x = 0; x < width; ++x) {
        uint32_t* sum = &sums[static_cast<size_t>(x) * 3];
        for (int32_t sx = x0[static_cast<size_t>(x)]; sx < x1[static_cast<size_t>(x)]; ++sx) {
          sum[0] += row[sx * 3];
          sum[1] += row[sx * 3 + 1];
          sum[2] += row[sx * 3 + 2];
        }
      }
    }
    uint8_t* dst = out.row(y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t area = static_cast<uint32_t>(
          (x1[static_cast<size_t>(x)] - x0[static_cast<size_t>(x)]) * (y1 - y0));
      for (int c = 0; c < 3; ++c)
        dst[x * 3 + c] =
            static_cast<uint8_t>((sums[static_cast<size_t>(x) * 3 + c] + area / 2) / area);
    }
  }
  return out;
}

ss::Bitmap24 fit_within(const ss::Bitmap24& source, int32_t box) {
  const int32_t longer = std::max(source.width(), source.height());
  if (longer <= box) return source;
  const int32_t w =
      std::max<int32_t>(1, static_cast<int32_t>(int64_t{source.width()} * box / longer));
  const int32_t h =
      std::max<int32_t>(1, static_cast<int32_t>(int64_t{source.height()} * box / longer));
  return area_resample(source, source.bounds(), w, h);
}

ss::Bitmap24 fill_cropped(const ss::Bitmap24& source, int32_t width, int32_t height) {
  const int64_t sw = source.width(), sh = source.height();
  ss::Rect from = source.bounds();
  if (sw * height > sh * width) {  // wider than the box: cut the sides
    const int32_t keep = static_cast<int32_t>(sh * width / height);
    from.left = static_cast<int32_t>((sw - keep) / 2);
    from.right = from.left + keep;
  } else {
    const int32_t keep = static_cast<int32_t>(sw * height / width);
    from.top = static_cast<int32_t>((sh - keep) / 2);
    from.bottom = from.top + keep;
  }
  return area_resample(source, from, width, height);
}

}  // namespace slidemake
