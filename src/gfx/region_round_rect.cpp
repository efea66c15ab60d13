#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "base/wide_math.h"
#include "gfx/region.h"
#include "gfx/region_bands.h"

namespace ss {
namespace {

// Larger corner ellipses are clamped; 2^20 pixels per axis keeps every term below in range and
// is far beyond any picture the saver shows.
constexpr int64_t kMaxEllipseAxis = int64_t{1} << 20;

// An ellipse filling a box of w × h pixels. Pixel (i, j) of the box is inside when its centre is:
//   ((2i + 1 − w) / w)² + ((2j + 1 − h) / h)² ≤ 1,
// that is ((2i + 1 − w)·h)² ≤ w²·(2j + 1)(2h − 2j − 1), which is exact in integers.
class CornerEllipse {
 public:
  CornerEllipse(int64_t w, int64_t h) : w_(w), h_(h) {}

  // The number of pixels left of the ellipse in row j; (w + 1) / 2 when the row is empty. The
  // row is symmetric, so as many pixels lie right of it.
  int64_t inset(int64_t j) const {
    const uint64_t t = static_cast<uint64_t>((2 * j + 1) * (2 * h_ - 2 * j - 1));
    const U128 limit = mul_wide(static_cast<uint64_t>(w_ * w_), t);
    // m = |2i + 1 − w| is the doubled distance of a centre from the axis; find the largest m
    // inside, starting from the floating estimate w·√t / h.
    auto fits = [&](int64_t m) {
      const uint64_t mh = static_cast<uint64_t>(m * h_);
      return mul_wide(mh, mh) <= limit;
    };
    const long double estimate =
        static_cast<long double>(w_) * std::sqrt(static_cast<long double>(t)) / h_;
    int64_t m = std::clamp<int64_t>(static_cast<int64_t>(estimate), 0, w_);
    while (m < w_ && fits(m + 1)) ++m;
    while (m > 0 && !fits(m)) --m;
    // Smallest i with w − 1 − 2i ≤ m.
    const int64_t gap = w_ - 1 - m;
    return gap <= 0 ? 0 : (gap + 1) / 2;
  }

 private:
  int64_t w_;
  int64_t h_;
};

}  // namespace

Region Region::from_round_rect(const Rect& r, int32_t ew, int32_t eh) {
  // Like the system, take the corners in any order, then leave out the last column and row.
  int64_t left = std::min(r.left, r.right);
  int64_t right = int64_t{std::max(r.left, r.right)} - 1;
  int64_t top = std::min(r.top, r.bottom);
  int64_t bottom = int64_t{std::max(r.top, r.bottom)} - 1;
  if (right <= left || bottom <= top) return {};
  const int64_t w = std::min({right - left, std::abs(int64_t{ew}), kMaxEllipseAxis});
  const int64_t h = std::min({bottom - top, std::abs(int64_t{eh}), kMaxEllipseAxis});
  const auto narrow = [](int64_t v) { return static_cast<int32_t>(v); };
  if (w < 2 || h < 2) {
    return from_rect({narrow(left), narrow(top), narrow(right), narrow(bottom)});
  }

  // The top h / 2 rows follow the upper half of the ellipse, the bottom h / 2 rows mirror them,
  // and the rows between are full.
  const CornerEllipse ellipse(w, h);
  std::vector<int64_t> insets(static_cast<size_t>(h / 2));
  for (size_t j = 0; j < insets.size(); ++j) insets[j] = ellipse.inset(static_cast<int64_t>(j));

  BandWriter out(static_cast<size_t>(h));
  auto add_row = [&](int64_t y0, int64_t y1, int64_t inset) {
    out.open(narrow(y0), narrow(y1));
    if (left + inset < right - inset) out.add(narrow(left + inset), narrow(right - inset));
    out.close();
  };
  const int64_t half = h / 2;
  for (int64_t j = 0; j < half; ++j) add_row(top + j, top + j + 1, insets[j]);
  add_row(top + half, bottom - half, 0);
  for (int64_t j = half - 1; j >= 0; --j) add_row(bottom - 1 - j, bottom - j, insets[j]);
  Region result = out.finish();
  result.self_check();
  return result;
}

}  // namespace ss
