// How a region holds its boxes: a single rectangle by its extents alone, large results in
// storage that the next region of a similar size takes over, and copies and moves that keep
// the pixels whatever the storage.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>

#include "gfx/region.h"
#include "support/region_print.h"

namespace {
std::atomic<long> allocations{0};
std::atomic<long> large_allocations{0};  // of 64 KiB or more
}  // namespace

// Counts every allocation of this test program; the tests below compare counts around the
// operations they watch.
void* operator new(size_t n) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (n >= 64 * 1024) large_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace ss {
namespace {

// A grid of 5-pixel bars on both axes, the shape of the crossed-bar transitions: some 40,000
// boxes at a side of 2,000.
Region grid(int32_t side, int32_t shift) {
  RegionBuilder b;
  for (int32_t i = shift; i < side; i += 10) {
    b.add(Rect{0, i, side, i + 5});
    b.add(Rect{i, 0, i + 5, side});
  }
  return b.build();
}

TEST(RegionStorage, RectanglesAndTheirCombinationsAsRectanglesAllocateNothing) {
  const long before = allocations.load();
  const Region a = Region::from_rect({0, 0, 100, 50});
  const Region b = Region::from_rect({0, 50, 100, 80});
  const Region below = a.united(b);  // one rectangle again
  const Region inner = a.intersected(Region::from_rect({10, 10, 20, 20}));
  Region copy = below;
  const Region moved = std::move(copy);
  EXPECT_EQ(allocations.load(), before);
  EXPECT_EQ(below, Region::from_rect({0, 0, 100, 80}));
  EXPECT_EQ(below.span_count(), 1u);
  EXPECT_EQ(inner.bounds(), (Rect{10, 10, 20, 20}));
  EXPECT_EQ(moved, below);
  EXPECT_TRUE(copy.empty());
}

TEST(RegionStorage, BoundsAreTheExtentsOfEveryBand) {
  // The widest band is neither the first nor the last.
  const Region r = Region::from_rect({10, 0, 20, 10})
                       .united(Region::from_rect({-5, 10, 40, 12}))
                       .united(Region::from_rect({12, 12, 15, 30}));
  EXPECT_EQ(r.bounds(), (Rect{-5, 0, 40, 30}));
  EXPECT_EQ(r.subtracted(Region::from_rect({-5, 10, 40, 12})).bounds(), (Rect{10, 0, 20, 30}));
  EXPECT_EQ(r.offset(3, -4).bounds(), (Rect{-2, -4, 43, 26}));
  EXPECT_TRUE(Region().offset(3, 4).empty());
  EXPECT_EQ(Region().offset(3, 4), Region());
}

TEST(RegionStorage, TheNextFramesRegionsTakeOverTheLastOnesStorage) {
  // One frame of a crossed-bar style: two grids of some 40,000 boxes (640 KB) each, their
  // combinations, and a copy.
  auto frame = [] {
    const Region first = grid(2000, 0);
    const Region second = grid(2000, 5);
    const Region both = first.united(second);
    const Region crossed = first.intersected(second);
    const Region copy = crossed;
    EXPECT_EQ(both.bounds(), (Rect{0, 0, 2000, 2000}));
    EXPECT_EQ(copy, crossed);
    EXPECT_GT(crossed.span_count(), 10000u);
  };
  frame();
  const long large_before = large_allocations.load();
  const long before = allocations.load();
  for (int i = 0; i < 5; ++i) frame();
  EXPECT_EQ(large_allocations.load(), large_before);
  // What allocates at all is the builders' lists of rectangles, a dozen small blocks each;
  // the results' boxes (hundreds of bands) take none.
  EXPECT_LE(allocations.load() - before, 5 * 40);
}

TEST(RegionStorage, CopiesAndAssignmentsKeepThePixels) {
  const Region big = grid(200, 0);
  const Region small = Region::from_rect({1, 2, 3, 4});
  Region r = small;
  r = big;
  EXPECT_EQ(r, big);
  r = small;
  EXPECT_EQ(r, small);
  r = big;
  Region taken = std::move(r);
  EXPECT_EQ(taken, big);
  EXPECT_TRUE(r.empty());
  r = std::move(taken);
  EXPECT_EQ(r, big);
  r = r;  // NOLINT: self-assignment keeps the region
  EXPECT_EQ(r, big);
  EXPECT_EQ(r.boxes().size(), big.span_count());
}

}  // namespace
}  // namespace ss
