#include <algorithm>
#include <vector>

#include "gfx/region.h"
#include "gfx/region_bands.h"

namespace ss {
namespace {

constexpr int64_t kMaxVertex = int64_t{1} << 28;

// Coordinates are doubled so that pixel centres, (2x + 1, 2y + 1), are integers. Vertices land
// on even values, so a centre row never passes through a vertex or along a horizontal edge.
struct Edge {
  int64_t x_top;  // the end with the smaller y
  int64_t y_top;
  int64_t x_bottom;
  int64_t y_bottom;
  int winding;  // +1 for an edge running down, −1 for one running up
};

int64_t doubled(int32_t v) {
  return 2 * std::clamp<int64_t>(v, -kMaxVertex, kMaxVertex);
}

int64_t ceil_div(int64_t num, int64_t den) {  // den > 0
  return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

struct Crossing {
  int64_t first_pixel;  // the first column whose centre lies at or right of the edge
  int winding;
};

// The first column x with 2x + 1 ≥ the edge's doubled x at centre row yc.
int64_t first_pixel_right_of(const Edge& e, int64_t yc) {
  const int64_t dy = e.y_bottom - e.y_top;
  const int64_t num = (e.x_top - 1) * dy + (yc - e.y_top) * (e.x_bottom - e.x_top);
  return ceil_div(num, 2 * dy);
}

}  // namespace

Region Region::from_polygon(std::span<const Point> points) {
  std::vector<Edge> edges;
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % points.size()];
    const int64_t ya = doubled(a.y);
    const int64_t yb = doubled(b.y);
    if (ya == yb) continue;  // horizontal edges never meet a centre row
    if (ya < yb) {
      edges.push_back({doubled(a.x), ya, doubled(b.x), yb, +1});
    } else {
      edges.push_back({doubled(b.x), yb, doubled(a.x), ya, -1});
    }
  }
  if (edges.empty()) return {};
  std::sort(edges.begin(), edges.end(),
            [](const Edge& a, const Edge& b) { return a.y_top < b.y_top; });
  int64_t y_end = edges.front().y_bottom;
  for (const Edge& e : edges) y_end = std::max(y_end, e.y_bottom);

  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  BandWriter out(static_cast<size_t>((y_end - edges.front().y_top) / 2));
  size_t next = 0;
  // Rows y whose centre 2y + 1 lies between the topmost and the bottommost vertex.
  for (int64_t y = edges.front().y_top / 2; 2 * y + 1 < y_end; ++y) {
    const int64_t yc = 2 * y + 1;
    while (next < edges.size() && edges[next].y_top < yc) active.push_back(&edges[next++]);
    std::erase_if(active, [yc](const Edge* e) { return e->y_bottom < yc; });

    crossings.clear();
    for (const Edge* e : active) crossings.push_back({first_pixel_right_of(*e, yc), e->winding});
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.first_pixel < b.first_pixel; });
    out.open(static_cast<int32_t>(y), static_cast<int32_t>(y + 1));
    int winding = 0;
    int64_t start = 0;
    for (const Crossing& c : crossings) {
      const bool was_inside = winding != 0;
      winding += c.winding;
      if (was_inside == (winding != 0)) continue;
      if (!was_inside) {
        start = c.first_pixel;
      } else if (start < c.first_pixel) {
        out.add(static_cast<int32_t>(start), static_cast<int32_t>(c.first_pixel));
      }
    }
    out.close();
  }
  Region result = out.finish();
  result.self_check();
  return result;
}

}  // namespace ss
