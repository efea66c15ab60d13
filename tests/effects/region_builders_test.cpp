#include "effects/region_builders.h"

#include <gtest/gtest.h>

#include "base/muldiv.h"
#include "base/random.h"
#include "support/region_print.h"

namespace ss {
namespace {

// The seed after n draws from the given one: every draw advances it once, whatever its range.
uint32_t seed_after(uint32_t seed, int n) {
  for (int i = 0; i < n; ++i) seed = seed * 134775813u + 1u;
  return seed;
}

Region on_image(const std::optional<Region>& r, int32_t w, int32_t h) {
  return r ? r->intersected(Region::from_rect({0, 0, w, h})) : Region();
}

TEST(CreateBarRegion, NothingOnEitherAxisIsNone) {
  EXPECT_FALSE(CreateBarRegion(0, 0, 400, 300, 18, 0, 0).has_value());
  EXPECT_FALSE(CreateBarRegion(800, 600, 400, 300, 18, 0, 0).has_value());
}

TEST(CreateBarRegion, PhaseOneFillsEveryOtherBarAndPhaseTwoTheRest) {
  const int32_t W = 120, H = 47;
  RegionBuilder rows;  // rows 0..4, 10..14, ...
  for (int32_t i = 0; i < H; i += 10) rows.add(Rect{0, i, W, i + 5});
  const Region every_other = on_image(rows.build(), W, H);
  const Region whole = Region::from_rect({0, 0, W, H});
  for (int32_t kind : {1, 2, 4, 5}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(on_image(CreateBarRegion(W, 0, W, H, 0, kind, 0), W, H), every_other);
    EXPECT_EQ(on_image(CreateBarRegion(2 * W, 0, W, H, 0, kind, 0), W, H), whole);
    // The vertical pass is the same on columns.
    EXPECT_EQ(on_image(CreateBarRegion(0, 2 * H, W, H, 0, 0, kind), W, H), whole);
  }
  // Snapping: within G of completion a bar is completed.
  EXPECT_EQ(CreateBarRegion(95, 0, 100, 60, 10, 2, 0), CreateBarRegion(100, 0, 100, 60, 10, 2, 0));
  EXPECT_NE(CreateBarRegion(90, 0, 100, 60, 10, 2, 0), CreateBarRegion(100, 0, 100, 60, 10, 2, 0));
}

TEST(CreateBarRegion, KindsGrowFromTheirSides) {
  const int32_t W = 100, H = 40;
  // Phase one at A = 30: kind 1 from the right, 2 from the left, 3 alternating.
  EXPECT_TRUE(CreateBarRegion(30, 0, W, H, 0, 1, 0)->contains(70, 0));
  EXPECT_FALSE(CreateBarRegion(30, 0, W, H, 0, 1, 0)->contains(69, 0));
  EXPECT_TRUE(CreateBarRegion(30, 0, W, H, 0, 2, 0)->contains(29, 0));
  const Region both = *CreateBarRegion(30, 0, W, H, 0, 3, 0);
  EXPECT_TRUE(both.contains(99, 2) && !both.contains(0, 2));
  EXPECT_TRUE(both.contains(0, 7) && !both.contains(99, 7));
  // Phase two at A = 130: the gaps fill from the right for kinds 1 and 4, the left for 2 and 5.
  for (int32_t kind : {1, 4})
    EXPECT_TRUE(CreateBarRegion(130, 0, W, H, 0, kind, 0)->contains(70, 7));
  for (int32_t kind : {2, 5})
    EXPECT_TRUE(CreateBarRegion(130, 0, W, H, 0, kind, 0)->contains(29, 7));
  // Bars on both axes: the vertical kind 1 grows from the bottom.
  const Region cross = *CreateBarRegion(0, 10, W, H, 0, 0, 1);
  EXPECT_TRUE(cross.contains(2, 39) && cross.contains(2, 30) && !cross.contains(2, 29));
  EXPECT_FALSE(cross.contains(7, 39));
}

TEST(CreateRaggedBarRegion, CompleteReachHasNoJitterButStillDraws) {
  const int32_t W = 90, H = 33;  // H mod 5 = 3: strips are 8 rows deep
  const int strips = 7;          // off = 0, 5, ..., 30
  struct Case {
    int32_t h;
    int draws_per_strip;
  };
  for (const Case c : {Case{1, 2}, Case{2, 2}, Case{3, 4}, Case{4, 4}}) {
    SCOPED_TRACE(c.h);
    set_random_seed(1234);
    const auto r = CreateRaggedBarRegion(W, 0, W, H, c.h, 0);
    EXPECT_EQ(random_seed(), seed_after(1234, strips * c.draws_per_strip));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(*r, Region::from_rect({0, 0, W, 30 + 8})) << ::testing::PrintToString(*r);
  }
  EXPECT_FALSE(CreateRaggedBarRegion(50, 50, W, H, 0, 0).has_value());
}

TEST(CreateRaggedBarRegion, JitterStaysWithinASeventh) {
  const int32_t W = 140, H = 100, A = 70;  // J = 20
  set_random_seed(5);
  const Region r = *CreateRaggedBarRegion(A, 0, W, H, 2, 0);
  for (int32_t y = 0; y < H; ++y) {
    EXPECT_TRUE(r.contains(A - 20, y)) << y;
    EXPECT_FALSE(r.contains(A + 19, y)) << y;
  }
  // Columns: the same jitter bounds on the vertical axis from the bottom.
  const Region c = *CreateRaggedBarRegion(0, 50, 100, 140, 0, 1);
  for (int32_t x = 0; x < 100; ++x) EXPECT_TRUE(c.contains(x, 140 - 50 + 20)) << x;
}

TEST(CreateScatterBarRegion, CompleteReachMakesTwoPixelStripsWithoutBlocks) {
  const int32_t W = 200, H = 51;
  for (int32_t h : {1, 2}) {
    set_random_seed(77);
    const auto r = CreateScatterBarRegion(W, 0, W, H, h, 0);
    EXPECT_EQ(random_seed(), 77u);  // n = 0: no block, so no draw
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(*r, Region::from_rect({0, 0, W, H + 1}));  // t = 0 .. 50, two rows each
  }
}

TEST(CreateScatterBarRegion, BlocksLieAheadOfTheFrontAndTheNearestIsAlwaysThere) {
  const int32_t W = 1000, H = 60, A = 400;  // e = 100, f = 5, n = 20, q = 15
  set_random_seed(3);
  const Region r = *CreateScatterBarRegion(A, 0, W, H, 2, 0);
  // 30 strips (t = 0, 2, ..., 58), each drawing Random(20) .. Random(1).
  EXPECT_EQ(random_seed(), seed_after(3, 30 * 20));
  const Region ahead = r.subtracted(Region::from_rect({0, 0, A, H + 5}));
  EXPECT_TRUE(Region::from_rect({A, 0, A + 5, H + 3}).subtracted(r).empty());
  EXPECT_TRUE(ahead.subtracted(Region::from_rect({A, 0, A + 100, H + 5})).empty());
  // From the right (kind 1) the picture is mirrored: blocks lie left of W − A.
  set_random_seed(3);
  const Region right = *CreateScatterBarRegion(A, 0, W, H, 1, 0);
  EXPECT_TRUE(right.subtracted(Region::from_rect({W - A - 100, 0, W, H + 5})).empty());
  EXPECT_TRUE(Region::from_rect({W - A - 5, 0, W, H + 3}).subtracted(right).empty());
}

TEST(CreateDissolveRegion, DrawsOncePerCellAndCoversAtFull) {
  const int32_t W = 103, H = 61;  // d = 1 + p div 10
  set_random_seed(0);
  EXPECT_FALSE(CreateDissolveRegion(W, H, 0).has_value());
  EXPECT_EQ(random_seed(), seed_after(0, W * H));     // d = 1: one draw per pixel
  const auto full = CreateDissolveRegion(W, H, 100);  // d = 11
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ(on_image(full, W, H), Region::from_rect({0, 0, W, H}));
  EXPECT_EQ(full->bounds(), (Rect{-11, -11, 99 + 11, 55 + 11}));
  set_random_seed(9);
  const auto half = CreateDissolveRegion(W, H, 50);  // d = 6: 18 × 11 cells
  EXPECT_EQ(random_seed(), seed_after(9, 18 * 11));
  ASSERT_TRUE(half.has_value());
  EXPECT_FALSE(half->empty());
  EXPECT_NE(on_image(half, W, H), Region::from_rect({0, 0, W, H}));
}

// The triangles of styles 110 and 113 at half progress share the image's diagonal: they tile it
// whether or not the diagonal passes through pixel centres.
TEST(CreateTriangleRegion, OppositeCornerTrianglesTileTheImage) {
  for (const auto& [W, H] : {std::pair{400, 300}, std::pair{300, 300}, std::pair{7, 13}}) {
    SCOPED_TRACE(W);
    const Region a = CreateTriangleRegion({0, 0}, {W, 0}, {0, H});
    const Region b = CreateTriangleRegion({W, H}, {0, H}, {W, 0});
    EXPECT_TRUE(a.intersected(b).empty());
    EXPECT_EQ(a.united(b), Region::from_rect({0, 0, W, H}));
  }
  // Styles 114 and 115 at full progress cover the image with two edge triangles.
  const int32_t W = 400, H = 300, X = W, Y = H;
  EXPECT_EQ(CreateTriangleRegion({0, H}, {0, 0}, {X, H})
                .united(CreateTriangleRegion({W, H}, {W, 0}, {W - X, 0})),
            Region::from_rect({0, 0, W, H}));
  EXPECT_EQ(CreateTriangleRegion({W, 0}, {0, 0}, {W, Y})
                .united(CreateTriangleRegion({W, H}, {0, H}, {0, H - Y})),
            Region::from_rect({0, 0, W, H}));
  // A degenerate triangle (style 117 at p = 0) is empty.
  EXPECT_TRUE(CreateTriangleRegion({40, 30}, {40, 30}, {40, 30 + MulDiv(0, H, W)}).empty());
}

}  // namespace
}  // namespace ss
