#include <gtest/gtest.h>

#include <vector>

#include "base/muldiv.h"
#include "base/random.h"

namespace ss {
namespace {

TEST(Random, ReproducesTheDocumentedSequenceForTen) {
  set_random_seed(0);
  std::vector<int32_t> draws;
  for (int i = 0; i < 8; ++i) draws.push_back(Random(10));
  EXPECT_EQ(draws, (std::vector<int32_t>{0, 0, 8, 2, 2, 6, 3, 1}));
}

TEST(Random, FirstDrawIsZeroAndSecondIsZeroUpToThirtyOne) {
  for (int32_t n : {1, 2, 31, 1000, 2147483647}) {
    set_random_seed(0);
    EXPECT_EQ(Random(n), 0) << n;
    if (n <= 31) {
      EXPECT_EQ(Random(n), 0) << n;
    }
  }
}

TEST(Random, ZeroRangeStillAdvancesTheSeed) {
  set_random_seed(0);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(random_seed(), 1u);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(random_seed(), 134775814u);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(400, 50, 100), 200);
  EXPECT_EQ(MulDiv(200, 300, 400), 150);
  EXPECT_EQ(MulDiv(400, 4, 90), 18);  // 17.78
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(3, 1, -2), -2);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);  // 64-bit intermediate
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

}  // namespace
}  // namespace ss
