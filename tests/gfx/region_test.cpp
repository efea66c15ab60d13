#include "gfx/region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "support/region_print.h"

namespace ss {
namespace {

// Every shape below stays inside this window, so a mask of it sees the whole region.
constexpr int32_t kLo = -10;
constexpr int32_t kHi = 36;
constexpr int32_t kSide = kHi - kLo;

using Mask = std::vector<uint8_t>;  // 0 or 1 per pixel

Mask mask_of(const std::function<bool(int32_t, int32_t)>& inside) {
  Mask m(kSide * kSide);
  for (int32_t y = kLo; y < kHi; ++y)
    for (int32_t x = kLo; x < kHi; ++x) m[(y - kLo) * kSide + (x - kLo)] = inside(x, y);
  return m;
}

Mask mask_of(const Region& r) {
  return mask_of([&](int32_t x, int32_t y) { return r.contains(x, y); });
}

// The canonical region of a mask, built from one rectangle per run of pixels.
Region region_of(const Mask& m) {
  RegionBuilder b;
  for (int32_t y = 0; y < kSide; ++y) {
    for (int32_t x = 0; x < kSide;) {
      if (!m[y * kSide + x]) {
        ++x;
        continue;
      }
      int32_t end = x;
      while (end < kSide && m[y * kSide + end]) ++end;
      b.add(Rect{x + kLo, y + kLo, end + kLo, y + kLo + 1});
      x = end;
    }
  }
  return b.build();
}

// Reference rounded rectangle: the last column and row left out, and a pixel in a corner box
// kept when its centre lies inside that corner's ellipse (sum form of the ellipse equation).
bool round_rect_reference(const Rect& rc, int32_t ew, int32_t eh, int32_t x, int32_t y) {
  const int64_t l = std::min(rc.left, rc.right), r = std::max(rc.left, rc.right) - 1;
  const int64_t t = std::min(rc.top, rc.bottom), b = std::max(rc.top, rc.bottom) - 1;
  if (x < l || x >= r || y < t || y >= b) return false;
  const int64_t w = std::min<int64_t>(r - l, std::abs(ew));
  const int64_t h = std::min<int64_t>(b - t, std::abs(eh));
  if (w < 2 || h < 2) return true;
  int64_t i = -1;
  int64_t j = -1;
  if (x < l + w / 2) i = x - l;
  if (x >= r - w / 2) i = x - (r - w);
  if (y < t + h / 2) j = y - t;
  if (y >= b - h / 2) j = y - (b - h);
  if (i < 0 || j < 0) return true;
  const int64_t ex = (2 * i + 1 - w) * h;
  const int64_t ey = (2 * j + 1 - h) * w;
  return ex * ex + ey * ey <= (w * h) * (w * h);
}

// Reference polygon fill: the winding number at the doubled pixel centre, counting an edge
// whose crossing lies at or left of the centre.
bool polygon_reference(const std::vector<Point>& pts, int32_t x, int32_t y) {
  const int64_t px = 2 * x + 1;
  const int64_t py = 2 * y + 1;
  int winding = 0;
  for (size_t k = 0; k < pts.size(); ++k) {
    int64_t ax = 2 * pts[k].x, ay = 2 * pts[k].y;
    int64_t bx = 2 * pts[(k + 1) % pts.size()].x, by = 2 * pts[(k + 1) % pts.size()].y;
    int dir = 1;
    if (ay > by) {
      std::swap(ax, bx);
      std::swap(ay, by);
      dir = -1;
    }
    if (!(ay < py && py < by)) continue;
    // crossing x = ax + (py - ay)(bx - ax)/(by - ay) <= px
    if (ax * (by - ay) + (py - ay) * (bx - ax) <= px * (by - ay)) winding += dir;
  }
  return winding != 0;
}

struct Shape {
  Region region;
  Mask mask;
};

Shape random_shape(std::mt19937& rng, bool may_offset = true) {
  auto coord = [&] { return static_cast<int32_t>(rng() % 34) - 5; };
  switch (rng() % (may_offset ? 4 : 3)) {
    case 0: {
      const Rect r{coord(), coord(), coord(), coord()};
      return {Region::from_rect(r), mask_of([&](int32_t x, int32_t y) {
                return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
              })};
    }
    case 1: {
      const Rect r{coord(), coord(), coord(), coord()};
      const auto ew = static_cast<int32_t>(rng() % 40) - 4;
      const auto eh = static_cast<int32_t>(rng() % 40) - 4;
      return {Region::from_round_rect(r, ew, eh),
              mask_of([&](int32_t x, int32_t y) { return round_rect_reference(r, ew, eh, x, y); })};
    }
    case 2: {
      std::vector<Point> pts(3 + rng() % 5);
      for (Point& p : pts) p = {coord(), coord()};
      return {Region::from_polygon(pts),
              mask_of([&](int32_t x, int32_t y) { return polygon_reference(pts, x, y); })};
    }
    default: {
      Shape inner = random_shape(rng, false);
      const auto dx = static_cast<int32_t>(rng() % 9) - 4;
      const auto dy = static_cast<int32_t>(rng() % 9) - 4;
      Mask m = mask_of([&](int32_t x, int32_t y) {
        x -= dx;
        y -= dy;
        return x >= kLo && x < kHi && y >= kLo && y < kHi &&
               inner.mask[(y - kLo) * kSide + (x - kLo)];
      });
      return {inner.region.offset(dx, dy), m};
    }
  }
}

TEST(Region, ShapesAndSetOperationsMatchAPixelMask) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 800; ++round) {
    SCOPED_TRACE(round);
    const Shape a = random_shape(rng);
    const Shape b = random_shape(rng);
    ASSERT_TRUE(a.region.is_valid());
    ASSERT_EQ(mask_of(a.region), a.mask);
    ASSERT_EQ(a.region, region_of(a.mask)) << "not in canonical form";

    struct Case {
      const char* name;
      Region result;
      std::function<bool(bool, bool)> op;
    };
    const Case cases[] = {
        {"union", a.region.united(b.region), [](bool p, bool q) { return p || q; }},
        {"intersection", a.region.intersected(b.region), [](bool p, bool q) { return p && q; }},
        {"xor", a.region.xored(b.region), [](bool p, bool q) { return p != q; }},
        {"subtraction", a.region.subtracted(b.region), [](bool p, bool q) { return p && !q; }},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_TRUE(c.result.is_valid());
      Mask expected(a.mask.size());
      for (size_t i = 0; i < expected.size(); ++i) expected[i] = c.op(a.mask[i], b.mask[i]);
      ASSERT_EQ(c.result, region_of(expected));
    }
  }
}

TEST(RegionBuilder, EqualsUnitingOneByOne) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    RegionBuilder builder;
    Region one_by_one;
    const int count = static_cast<int>(rng() % 40);
    for (int i = 0; i < count; ++i) {
      auto c = [&] { return static_cast<int32_t>(rng() % 60) - 10; };
      const Rect r{c(), c(), c(), c()};
      builder.add(r);
      one_by_one = one_by_one.united(Region::from_rect(r));
    }
    const Region built = builder.build();
    ASSERT_TRUE(built.is_valid());
    ASSERT_EQ(built, one_by_one) << round;
    EXPECT_EQ(builder.any(), count > 0);
  }
}

// The shapes the transition builders feed in: thousands of thin row strips, tall columns that
// span every row, blocks, and whole regions (the triangle grid adds shifted copies of one).
TEST(RegionBuilder, StripsColumnsAndRegionsEqualUnitingOneByOne) {
  std::mt19937 rng(11);
  auto pick = [&](int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
  };
  const Region triangle = Region::from_polygon(std::vector<Point>{{0, 0}, {9, 0}, {0, 7}});
  for (int round = 0; round < 200; ++round) {
    RegionBuilder builder;
    Region one_by_one;
    auto add = [&](const Region& r) {
      const int32_t how = pick(0, 2);
      if (how == 0) {
        builder.add(r);
      } else if (how == 1) {
        builder.add(Region(r));  // handed over
      } else {
        for (const Rect& box : r.boxes()) builder.add(box);
      }
      one_by_one = one_by_one.united(r);
    };
    const int32_t count = pick(0, 30);
    for (int32_t i = 0; i < count; ++i) {
      const int32_t a = pick(-5, 30), b = pick(-5, 30);
      switch (pick(0, 4)) {
        case 0:  // a row strip
          add(Region::from_rect({a, b, a + pick(1, 30), b + pick(1, 3)}));
          break;
        case 1:  // a column over every row, with a ragged end
          add(Region::from_rect({a, -10, a + pick(1, 5), pick(-10, 36)}));
          break;
        case 2:  // a block
          add(Region::from_rect({a, b, a + pick(1, 6), b + pick(1, 6)}));
          break;
        case 3:
          add(triangle.offset(a, b));
          break;
        default:
          add(Region::from_round_rect({a, b, a + pick(2, 20), b + pick(2, 20)}, pick(0, 20),
                                      pick(0, 20)));
          break;
      }
    }
    const Region built = builder.build();
    ASSERT_TRUE(built.is_valid());
    ASSERT_EQ(built, one_by_one) << round;
  }
}

// Enough rectangles for the build to sort them by counting, with edges spread narrowly (the
// usual case) and so widely that their sort keys need more bits than counting takes.
TEST(RegionBuilder, ThousandsOfRectanglesEqualUnitingOneByOne) {
  std::mt19937 rng(5);
  for (const int32_t spread : {40, 3000, 1 << 29}) {
    SCOPED_TRACE(spread);
    auto at = [&] {
      return static_cast<int32_t>(rng() % (2 * static_cast<uint32_t>(spread))) - spread;
    };
    RegionBuilder builder;
    std::vector<Region> pieces;
    for (int i = 0; i < 1500; ++i) {
      const int32_t x = at(), y = at();
      const Rect r{x, y, x + 1 + static_cast<int32_t>(rng() % 9),
                   y + 1 + static_cast<int32_t>(rng() % 9)};
      builder.add(r);
      pieces.push_back(Region::from_rect(r));
    }
    // United in pairs, so that the reference stays quick.
    while (pieces.size() > 1) {
      std::vector<Region> next;
      for (size_t i = 0; i + 1 < pieces.size(); i += 2)
        next.push_back(pieces[i].united(pieces[i + 1]));
      if (pieces.size() % 2) next.push_back(pieces.back());
      pieces.swap(next);
    }
    const Region built = builder.build();
    ASSERT_TRUE(built.is_valid());
    EXPECT_EQ(built, pieces.front());
  }
}

TEST(RegionBuilder, AnyCountsEmptyRectanglesAndRegions) {
  RegionBuilder handed_over;
  handed_over.add(Region());
  EXPECT_TRUE(handed_over.any());
  EXPECT_TRUE(handed_over.build().empty());

  RegionBuilder b;
  EXPECT_FALSE(b.any());
  b.add(Rect{3, 3, 3, 8});
  EXPECT_TRUE(b.any());
  EXPECT_TRUE(b.build().empty());
  b.add(Region::from_round_rect({0, 0, 10, 10}, 10, 10));
  EXPECT_EQ(b.build(), Region::from_round_rect({0, 0, 10, 10}, 10, 10));
}

// Rows of a 10 × 10 rounded rectangle with a 10 × 10 corner ellipse: the region drops the last
// row and column, so the circle is 9 pixels across, with insets 2, 1, 0, 0, 0, 0, 0, 1, 2.
TEST(RoundRect, TenByTenCircle) {
  const char* expected[] = {
      "..#####...", ".#######..", "#########.", "#########.", "#########.",
      "#########.", "#########.", ".#######..", "..#####...", "..........",
  };
  const Region r = Region::from_round_rect({0, 0, 10, 10}, 10, 10);
  for (int32_t y = 0; y < 10; ++y) {
    std::string row;
    for (int32_t x = 0; x < 10; ++x) row += r.contains(x, y) ? '#' : '.';
    EXPECT_EQ(row, expected[y]) << "row " << y;
  }
}

TEST(RoundRect, DegenerateEllipsesAndSwappedCorners) {
  const Region plain = Region::from_rect({2, 3, 11, 9});  // one column and row less
  EXPECT_EQ(Region::from_round_rect({2, 3, 12, 10}, 0, 8), plain);
  EXPECT_EQ(Region::from_round_rect({2, 3, 12, 10}, 8, 1), plain);
  EXPECT_EQ(Region::from_round_rect({12, 10, 2, 3}, 6, 4),
            Region::from_round_rect({2, 3, 12, 10}, 6, 4));
  // An oversized ellipse is clamped to the rectangle.
  EXPECT_EQ(Region::from_round_rect({0, 0, 20, 12}, 500, -900),
            Region::from_round_rect({0, 0, 20, 12}, 19, 11));
  EXPECT_TRUE(Region::from_round_rect({0, 0, 1, 50}, 4, 4).empty());
}

// The curve styles use rectangles reaching far off the image with ellipses twice its size.
TEST(RoundRect, LargeCurvesAreSymmetricAndStayInTheirRectangle) {
  const int32_t w = 1920, h = 1080;
  const Rect rects[] = {{-2 * w, -5, w, h + 5},
                        {-2 * w, -2 * h, w / 3, 2 * h / 3},
                        {w / 2 - 700, h / 2 - 400, w / 2 + 700, h / 2 + 400}};
  for (const Rect& rc : rects) {
    const Region r = Region::from_round_rect(rc, 2 * w, 2 * h);
    ASSERT_TRUE(r.is_valid());
    const Rect b = r.bounds();
    EXPECT_GE(b.left, rc.left);
    EXPECT_GE(b.top, rc.top);
    EXPECT_LE(b.right, rc.right - 1);
    EXPECT_LE(b.bottom, rc.bottom - 1);
    // Mirror symmetric about the reduced rectangle's centre lines.
    const int32_t cx2 = rc.left + rc.right - 1, cy2 = rc.top + rc.bottom - 1;
    for (int32_t y = 0; y < h; y += 37) {
      for (int32_t x = 0; x < w; x += 41) {
        ASSERT_EQ(r.contains(x, y), r.contains(cx2 - 1 - x, y)) << x << "," << y;
        ASSERT_EQ(r.contains(x, y), r.contains(x, cy2 - 1 - y)) << x << "," << y;
      }
    }
  }
}

TEST(Polygon, WindingFillsTheCentreOfAStar) {
  // A five-pointed star drawn in one stroke: its centre has winding number 2.
  const std::vector<Point> star{{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
  const Region r = Region::from_polygon(star);
  EXPECT_TRUE(r.contains(20, 20));
  EXPECT_TRUE(r.contains(20, 5));
  EXPECT_FALSE(r.contains(2, 30));
}

TEST(Polygon, DiagonalCentresBelongToTheRightOfTheEdge) {
  // The two halves of a 4 × 4 square share a diagonal through pixel centres; they tile it.
  const Region lower = Region::from_polygon(std::vector<Point>{{0, 0}, {4, 4}, {0, 4}});
  const Region upper = Region::from_polygon(std::vector<Point>{{0, 0}, {4, 0}, {4, 4}});
  EXPECT_TRUE(lower.intersected(upper).empty());
  EXPECT_EQ(lower.united(upper), Region::from_rect({0, 0, 4, 4}));
  EXPECT_TRUE(upper.contains(2, 2));  // the diagonal is the upper half's left edge
  EXPECT_FALSE(lower.contains(2, 2));
  EXPECT_EQ(Region::from_polygon(std::vector<Point>{{3, 1}, {9, 1}, {9, 7}, {3, 7}}),
            Region::from_rect({3, 1, 9, 7}));
  EXPECT_TRUE(Region::from_polygon(std::vector<Point>{{0, 0}, {9, 0}, {4, 0}}).empty());
}

}  // namespace
}  // namespace ss
