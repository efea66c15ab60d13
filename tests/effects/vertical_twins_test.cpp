// Styles 18..34 are 1..17 turned on their side. Composing a vertical twin on an image must give
// the transpose of its horizontal style composed on the transposed images; any mix-up of W and
// H, X and Y, rows and columns or of the roll band's mirror axis breaks this.
#include <gtest/gtest.h>

#include "base/random.h"
#include "frame_fixture.h"

namespace ss {
namespace {

using testing::Compose;
using testing::MakeNewImage;
using testing::MakeOldImage;
using testing::Transpose;

TEST(VerticalTwins, AreTheirHorizontalStylesTransposed) {
  // A wide, a tall and an odd-sized image, so that every div rounds somewhere.
  const std::pair<int32_t, int32_t> sizes[] = {{64, 48}, {48, 64}, {61, 37}};
  for (const auto& [W, H] : sizes) {
    const Bitmap24 old_image = MakeOldImage(W, H);
    const Bitmap24 new_image = MakeNewImage(W, H);
    const Bitmap24 old_turned = Transpose(old_image);
    const Bitmap24 new_turned = Transpose(new_image);
    for (int32_t k = 0; k <= 16; ++k) {
      for (int32_t p : {0, 3, 17, 33, 50, 64, 81, 96}) {
        const auto vertical = Compose(old_image, new_image, 18 + k, p);
        const auto horizontal = Compose(old_turned, new_turned, 1 + k, p);
        ASSERT_TRUE(vertical.screen == Transpose(horizontal.screen))
            << "style " << 18 + k << " on " << W << "x" << H << " at p=" << p;
        ASSERT_EQ(vertical.invalidated.size(), horizontal.invalidated.size());
        for (size_t i = 0; i < vertical.invalidated.size(); ++i) {
          const Rect& h = horizontal.invalidated[i];
          EXPECT_EQ(vertical.invalidated[i], (Rect{h.top, h.left, h.bottom, h.right}))
              << "style " << 18 + k << " piece " << i << " at p=" << p;
        }
      }
    }
  }
}

}  // namespace
}  // namespace ss
