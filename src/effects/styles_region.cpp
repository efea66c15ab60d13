// The region styles 58..117 and 123..127: curves, ellipses, bars, ragged bars, triangles,
// scatter bars and the dissolve. Each row builds the clip region Q through which the new image
// is drawn. Rows that call jittered builders more than once call them in the written order,
// because every call draws from the process-wide generator.
#include <iterator>

#include "base/muldiv.h"
#include "effects/region_builders.h"
#include "effects/style_table.h"

namespace ss {
namespace {

constexpr StyleFamily kRegion = StyleFamily::kRegion;

Region round_rect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t ew, int32_t eh) {
  return Region::from_round_rect(Rect{l, t, r, b}, ew, eh);
}

Region triangle(Point a, Point b, Point c) {
  return CreateTriangleRegion(a, b, c);
}

void bars(FrameCtx& f, int32_t A, int32_t B, int32_t G, int32_t h, int32_t v) {
  f.Q = CreateBarRegion(A, B, f.W, f.H, G, h, v);
}

void ragged(FrameCtx& f, int32_t A, int32_t B, int32_t h, int32_t v) {
  f.Q = CreateRaggedBarRegion(A, B, f.W, f.H, h, v);
}

void scatter(FrameCtx& f, int32_t h, int32_t v) {
  f.Q = CreateScatterBarRegion(f.X, f.Y, f.W, f.H, h, v);
}

// Triangles (bx, by), (bx + X5, by), (bx, by + Y5) at bx = (c·W) div 10, by = (r·H) div 10 for
// r, c = 0..9. All hundred are one triangle moved by whole pixels, which fills the same pixels
// wherever it lies, so one grid row is built from copies of it and the grid from copies of
// that row: one polygon fill instead of a hundred, and far fewer rectangles to merge.
Region triangle_grid(const FrameCtx& f) {
  const int32_t X5 = f.X / 5;
  const int32_t Y5 = MulDiv(X5, f.H, f.W);
  const Region cell = triangle({0, 0}, {X5, 0}, {0, Y5});
  RegionBuilder row;
  for (int32_t c = 0; c < 10; ++c) row.add(cell.offset(c * f.W / 10, 0));
  const Region first_row = row.build();
  RegionBuilder grid;
  for (int32_t r = 0; r < 10; ++r) grid.add(first_row.offset(0, r * f.H / 10));
  return grid.build();
}

constexpr StyleRow kRows[] = {
    // 58 curve from the left
    {kRegion,
     [](FrameCtx& f) { f.Q = round_rect(-2 * f.W, -5, 2 * f.X, f.H + 5, 2 * f.W, 2 * f.W); }},
    // 59 curve from the right
    {kRegion,
     [](FrameCtx& f) { f.Q = round_rect(f.W - 2 * f.X, -5, 3 * f.W, f.H + 5, 2 * f.W, 2 * f.W); }},
    // 60..63 bars growing in two phases, 64 bars from both sides
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 0, f.G, 1, 0); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 0, f.G, 2, 0); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 0, f.G, 4, 0); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 0, f.G, 5, 0); }},
    {kRegion, [](FrameCtx& f) { bars(f, f.X, 0, 0, 3, 0); }},
    // 65..68 ragged bars
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, 0, 1, 0); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, 0, 2, 0); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, 0, 3, 0); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, 0, 4, 0); }},
    // 69 curve from the top
    {kRegion,
     [](FrameCtx& f) { f.Q = round_rect(-5, -2 * f.H, f.W + 5, 2 * f.Y, 2 * f.H, 2 * f.H); }},
    // 70 curve from the bottom
    {kRegion,
     [](FrameCtx& f) { f.Q = round_rect(-5, f.H - 2 * f.Y, f.W + 5, 3 * f.H, 2 * f.H, 2 * f.H); }},
    // 71..74 column bars in two phases, 75 column bars from both ends
    {kRegion, [](FrameCtx& f) { bars(f, 0, 2 * f.Y, f.G, 0, 1); }},
    {kRegion, [](FrameCtx& f) { bars(f, 0, 2 * f.Y, f.G, 0, 2); }},
    {kRegion, [](FrameCtx& f) { bars(f, 0, 2 * f.Y, f.G, 0, 4); }},
    {kRegion, [](FrameCtx& f) { bars(f, 0, 2 * f.Y, f.G, 0, 5); }},
    {kRegion, [](FrameCtx& f) { bars(f, 0, f.Y, 0, 0, 3); }},
    // 76..79 ragged column bars
    {kRegion, [](FrameCtx& f) { ragged(f, 0, f.Y, 0, 1); }},
    {kRegion, [](FrameCtx& f) { ragged(f, 0, f.Y, 0, 2); }},
    {kRegion, [](FrameCtx& f) { ragged(f, 0, f.Y, 0, 3); }},
    {kRegion, [](FrameCtx& f) { ragged(f, 0, f.Y, 0, 4); }},
    // 80 curve from the top-left
    {kRegion,
     [](FrameCtx& f) { f.Q = round_rect(-2 * f.W, -2 * f.H, 2 * f.X, 2 * f.Y, 2 * f.W, 2 * f.H); }},
    // 81 curve from the top-right
    {kRegion,
     [](FrameCtx& f) {
       f.Q = round_rect(f.W - 2 * f.X, -2 * f.H, 3 * f.W, 2 * f.Y, 2 * f.W, 2 * f.H);
     }},
    // 82 curve from the bottom-left
    {kRegion,
     [](FrameCtx& f) {
       f.Q = round_rect(-2 * f.W, f.H - 2 * f.Y, 2 * f.X, 3 * f.H, 2 * f.W, 2 * f.H);
     }},
    // 83 curve from the bottom-right; its corner ellipse is 2H × 2H, unlike 80..82
    {kRegion,
     [](FrameCtx& f) {
       f.Q = round_rect(f.W - 2 * f.X, f.H - 2 * f.Y, 3 * f.W, 3 * f.H, 2 * f.H, 2 * f.H);
     }},
    // 84 ellipse growing from the centre
    {kRegion,
     [](FrameCtx& f) {
       f.Q = round_rect(f.W / 2 - f.X, f.H / 2 - f.Y, f.W / 2 + f.X, f.H / 2 + f.Y, 9 * f.X / 5,
                        9 * f.Y / 5);
     }},
    // 85 ellipse hole shrinking to the centre
    {kRegion,
     [](FrameCtx& f) {
       const Region hole = round_rect(f.X - f.W / 2, f.Y - f.H / 2, 3 * f.W / 2 - f.X,
                                      3 * f.H / 2 - f.Y, 9 * (f.W - f.X) / 5, 9 * (f.H - f.Y) / 5);
       f.Q = Region::from_rect(f.whole()).xored(hole);
     }},
    // 86..93 bars on both axes in two phases
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 1, 1); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 1, 2); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 2, 1); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 2, 2); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 4, 4); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 4, 5); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 5, 4); }},
    {kRegion, [](FrameCtx& f) { bars(f, 2 * f.X, 2 * f.Y, f.G, 5, 5); }},
    // 94..98 bars on both axes in one phase; 98 snaps nothing
    {kRegion, [](FrameCtx& f) { bars(f, f.X, f.Y, f.G, 1, 3); }},
    {kRegion, [](FrameCtx& f) { bars(f, f.X, f.Y, f.G, 2, 3); }},
    {kRegion, [](FrameCtx& f) { bars(f, f.X, f.Y, f.G, 3, 1); }},
    {kRegion, [](FrameCtx& f) { bars(f, f.X, f.Y, f.G, 3, 2); }},
    {kRegion, [](FrameCtx& f) { bars(f, f.X, f.Y, 0, 3, 3); }},
    // 99 crossed bars: only where both bar sets have arrived
    {kRegion,
     [](FrameCtx& f) {
       const auto first = CreateBarRegion(2 * f.X, 2 * f.Y, f.W, f.H, f.G, 1, 1);
       const auto second = CreateBarRegion(2 * f.X, 2 * f.Y, f.W, f.H, f.G, 2, 2);
       if (first && second) f.Q = first->intersected(*second);
     }},
    // 100..109 ragged bars on both axes
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 1, 1); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 1, 2); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 2, 1); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 2, 2); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 1, 3); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 2, 3); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 3, 1); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 3, 2); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 3, 3); }},
    {kRegion, [](FrameCtx& f) { ragged(f, f.X, f.Y, 4, 4); }},
    // 110 triangle from the top-left corner
    {kRegion,
     [](FrameCtx& f) {
       f.Q = triangle({0, 0}, {2 * f.X, 0}, {0, 2 * f.Y});
     }},
    // 111 triangle from the top-right corner
    {kRegion,
     [](FrameCtx& f) {
       f.Q = triangle({f.W, 0}, {f.W - 2 * f.X, 0}, {f.W, 2 * f.Y});
     }},
    // 112 triangle from the bottom-left corner
    {kRegion,
     [](FrameCtx& f) {
       f.Q = triangle({0, f.H}, {2 * f.X, f.H}, {0, f.H - 2 * f.Y});
     }},
    // 113 triangle from the bottom-right corner
    {kRegion,
     [](FrameCtx& f) {
       f.Q = triangle({f.W, f.H}, {f.W - 2 * f.X, f.H}, {f.W, f.H - 2 * f.Y});
     }},
    // 114 triangles from the left and right edges
    {kRegion,
     [](FrameCtx& f) {
       f.Q = triangle({0, f.H}, {0, 0}, {f.X, f.H})
                 .united(triangle({f.W, f.H}, {f.W, 0}, {f.W - f.X, 0}));
     }},
    // 115 triangles from the top and bottom edges
    {kRegion,
     [](FrameCtx& f) {
       f.Q = triangle({f.W, 0}, {0, 0}, {f.W, f.Y})
                 .united(triangle({f.W, f.H}, {0, f.H}, {0, f.H - f.Y}));
     }},
    // 116 pinwheel of four triangles meeting in the centre
    {kRegion,
     [](FrameCtx& f) {
       const Point centre{f.W / 2, f.H / 2};
       RegionBuilder pinwheel;
       pinwheel.add(triangle(centre, {0, f.H}, {0, f.H - f.Y}));
       pinwheel.add(triangle({0, 0}, {f.X, 0}, centre));
       pinwheel.add(triangle({f.W - f.X, f.H}, centre, {f.W, f.H}));
       pinwheel.add(triangle(centre, {f.W, 0}, {f.W, f.Y}));
       f.Q = pinwheel.build();
     }},
    // 117 grid of 10 × 10 triangles; the height follows the width by the image's aspect
    {kRegion, [](FrameCtx& f) { f.Q = triangle_grid(f); }},
};
static_assert(std::size(kRows) == 117 - 58 + 1, "the region styles are 58..117");

constexpr StyleRow kScatterRows[] = {
    // 123 scatter bars from the right
    {kRegion, [](FrameCtx& f) { scatter(f, 1, 0); }},
    // 124 scatter bars from the left
    {kRegion, [](FrameCtx& f) { scatter(f, 2, 0); }},
    // 125 scatter bars from the bottom
    {kRegion, [](FrameCtx& f) { scatter(f, 0, 1); }},
    // 126 scatter bars from the top
    {kRegion, [](FrameCtx& f) { scatter(f, 0, 2); }},
    // 127 dissolve
    {kRegion, [](FrameCtx& f) { f.Q = CreateDissolveRegion(f.W, f.H, f.p); }},
};

}  // namespace

std::span<const StyleRow> RegionStyleRows() {
  return kRows;
}
std::span<const StyleRow> ScatterStyleRows() {
  return kScatterRows;
}

}  // namespace ss
