#include "effects/region_builders.h"

#include <array>
#include <span>

#include "base/random.h"

namespace ss {
namespace {

std::optional<Region> result_of(const RegionBuilder& b) {
  if (!b.any()) return std::nullopt;
  return b.build();
}

// The bar builder works on one axis at a time; the vertical pass is the horizontal one with
// rows and columns exchanged, so rectangles are made through this adapter.
struct Axis {
  bool columns;  // false: bars are rows (horizontal pass)
  Rect operator()(int32_t across0, int32_t along0, int32_t across1, int32_t along1) const {
    // across: the axis the bars grow along (x for rows); along: the axis they are stacked on.
    return columns ? Rect{along0, across0, along1, across1}
                   : Rect{across0, along0, across1, along1};
  }
};

// One pass of CreateBarRegion. reach is A (or B), extent W (or H), depth H (or W): the bars are
// 5 wide across depth, with 5-wide gaps, and grow along extent.
void bar_pass(RegionBuilder& out, Axis rect, int32_t reach, int32_t extent, int32_t depth,
              int32_t G, int32_t kind) {
  if (kind == 0) return;
  const bool phase_two = reach > extent;
  for (int32_t i = phase_two ? 5 : 0; i < depth + 5; i += 10) {
    if (!phase_two) {
      if (reach + G > extent) reach = extent;  // bars within G of completion are completed
      switch (kind) {
        case 1:
        case 5:
          out.add(rect(extent - reach, i, extent, i + 5));
          break;
        case 2:
        case 4:
          out.add(rect(0, i, reach, i + 5));
          break;
        case 3:
          out.add(rect(extent - reach, i, extent, i + 5));
          out.add(rect(0, i + 5, reach, i + 10));
          break;
        default:
          break;
      }
      continue;
    }
    // Phase two: the bar of phase one is full and the gap after it fills.
    switch (kind) {
      case 1:
      case 4:
        out.add(rect(2 * extent - reach, i, extent, i + 5));
        break;
      case 2:
      case 5:
        out.add(rect(0, i, reach - extent, i + 5));
        break;
      default:
        break;
    }
    out.add(rect(0, i - 5, extent, i));
  }
}

// One pass of CreateRaggedBarRegion: strips 5 deep (plus depth mod 5, so that they overlap and
// reach the far edge) whose ends jitter by up to extent div 7 while the reach is incomplete.
void ragged_pass(RegionBuilder& out, Axis rect, int32_t reach, int32_t extent, int32_t depth,
                 int32_t kind) {
  if (kind == 0) return;
  const int32_t J = reach < extent ? extent / 7 : 0;
  // The jitter of one end, two draws in order: + Random(J) − Random(J).
  auto jitter = [J] {
    const int32_t plus = Random(J);
    return plus - Random(J);
  };
  for (int32_t off = 0; off < depth; off += 5) {
    const int32_t e = off + 5 + depth % 5;
    switch (kind) {
      case 1:
        out.add(rect(extent - reach + jitter(), off, extent, e));
        break;
      case 2:
        out.add(rect(0, off, reach + jitter(), e));
        break;
      case 3: {
        const int32_t from = (extent - reach + jitter()) / 2;
        out.add(rect(from, off, extent / 2, e));
        const int32_t to = (extent + reach + jitter()) / 2;
        out.add(rect(extent / 2, off, to, e));
        break;
      }
      case 4: {
        const int32_t k = reach + jitter();
        const int32_t to = (reach + jitter()) / 2;
        out.add(rect(extent - k / 2, off, extent, e));
        out.add(rect(0, off, to, e));
        break;
      }
      default:
        break;
    }
  }
}

// One pass of CreateScatterBarRegion: strips f deep, overlapping by half, each with a solid
// front and up to n blocks of f × f scattered ahead of it. kind 1 grows from the far end of
// extent (right or bottom), any other kind from 0.
void scatter_pass(RegionBuilder& out, Axis rect, int32_t reach, int32_t extent, int32_t depth,
                  int32_t kind) {
  if (kind == 0) return;
  const int32_t e = reach < extent ? extent / 10 : 0;
  int32_t f = e / 20;
  if (f < 2) f = 2;
  const int32_t n = e / f;
  const int32_t q = ((3 * e) / f) / 4;
  for (int32_t t = 0; t < depth; t += f / 2) {
    if (kind == 1) {
      out.add(rect(extent - reach, t, extent, t + f));
    } else {
      out.add(rect(0, t, reach, t + f));
    }
    for (int32_t k = n; k >= 1; --k) {
      const int32_t lim = q >= k ? 1 : 0;
      if (Random(k) > lim) continue;
      if (kind == 1) {
        out.add(rect(extent - reach - k * f, t, extent - reach - k * f + f, t + f));
      } else {
        out.add(rect(reach + k * f - f, t, reach + k * f, t + f));
      }
    }
  }
}

}  // namespace

std::optional<Region> CreateBarRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t G,
                                      int32_t h, int32_t v) {
  RegionBuilder out;
  bar_pass(out, Axis{false}, A, W, H, G, h);
  bar_pass(out, Axis{true}, B, H, W, G, v);
  return result_of(out);
}

std::optional<Region> CreateRaggedBarRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t h,
                                            int32_t v) {
  RegionBuilder out;
  ragged_pass(out, Axis{false}, A, W, H, h);
  ragged_pass(out, Axis{true}, B, H, W, v);
  return result_of(out);
}

std::optional<Region> CreateScatterBarRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t h,
                                             int32_t v) {
  RegionBuilder out;
  scatter_pass(out, Axis{false}, A, W, H, h);
  scatter_pass(out, Axis{true}, B, H, W, v);
  return result_of(out);
}

std::optional<Region> CreateDissolveRegion(int32_t W, int32_t H, int32_t p) {
  int32_t d = (W < H ? W : H) / 50 + p / 10;
  if (d < 1) d = 1;
  RegionBuilder out;
  for (int32_t x = 0; x < W; x += d) {
    for (int32_t y = 0; y < H; y += d) {
      if (Random(100) < p) out.add(Rect{x - d, y - d, x + d, y + d});
    }
  }
  return result_of(out);
}

Region CreateTriangleRegion(Point p0, Point p1, Point p2) {
  const std::array<Point, 4> outline{p0, p1, p2, p0};
  return Region::from_polygon(outline);
}

}  // namespace ss
