// Whole frames on a fixed 64 × 48 pair, as hashes of the screen bitmap folded with the
// generator's seed after the frame (so the number of draws counts too). Each frame was checked
// by eye before its hash was taken; the comment says what the entry protects.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/random.h"
#include "frame_fixture.h"

namespace ss {
namespace {

struct GoldenFrame {
  int32_t style;
  int32_t progress;
  uint64_t hash;
  const char* protects;
};

constexpr GoldenFrame kGolden[] = {
    {2, 30, 0x73872c8e3713c123ull,
     "squeeze: the whole picture scaled into a growing strip, nearest sample"},
    {3, 70, 0x269c8805b534bbbull, "slide: the unscaled picture entering past the right edge"},
    {9, 50, 0x828d13bee3370dafull, "zoom from the centre line: odd-sized source rounded by div"},
    {13, 40, 0x3eceb7ef1c71756bull,
     "split squeeze: both halves, the left one drawn as an intermediate piece"},
    {14, 30, 0xaf18d1f137d2ca93ull,
     "roll: band width W div 10 and its source strip mirrored left-to-right"},
    {15, 85, 0x746ee51d6786c333ull, "roll from the right near the end: band (W - X) div 2"},
    {17, 40, 0x57b9f56b2f1b46afull, "smear: the strip behind the edge stretched over the rest"},
    {31, 70, 0x97088568097f131full, "vertical roll: the band mirrored top-to-bottom"},
    {47, 60, 0xbb090d74b010ff41ull, "corner zoom: both axes magnified at once"},
    {51, 50, 0xd72dce7d33ec7c9full, "zoom from the centre, the default style"},
    {55, 0, 0x83c3753ccbf12993ull,
     "split corners: the one-pixel slivers shown before any progress"},
    {56, 30, 0x867f1c90fa29de09ull,
     "split squeeze of four quarters: piece order and the +1 overlaps"},
    {57, 50, 0xf5d47012165ae1e5ull, "split slide of four quarters: each from its own side"},
    {58, 30, 0xd9ccc529514b2557ull, "curve: rounded rectangle with a 2W corner"},
    {70, 60, 0xb17f0a07fe05f76dull, "curve from the bottom"},
    {83, 50, 0xaa70120d9c8e154full, "bottom-right curve with its 2H x 2H corner"},
    {84, 40, 0xe90339997ba82dd9ull, "ellipse growing from the centre"},
    {85, 40, 0x6954911a689ce5a5ull,
     "ellipse hole: XOR of the whole rectangle with the shrinking hole"},
    {60, 70, 0xbded57030286adc9ull, "bars in phase two: the gaps filling from the right"},
    {64, 40, 0xab2948cedaa19637ull, "bars from both sides at once, no snapping"},
    {73, 55, 0x3d478aa3b4b9acf7ull, "column bars kind 4 in phase two"},
    {68, 50, 0x5a5d901330651425ull,
     "ragged bars from both edges: the order of the four draws per strip"},
    {93, 45, 0x44ae440bc41ffb4full, "bars on both axes: both passes into one region"},
    {98, 50, 0x21f35bccf6ad8cfbull, "bars of kind 3 on both axes with G = 0"},
    {99, 60, 0xdd98ec100e1f6d4full, "crossed bars: the intersection of two bar sets"},
    {104, 50, 0xae58989c3b56be07ull, "ragged bars on both axes: rows drawn before columns"},
    {114, 60, 0x55eff29230073893ull, "two triangles from the left and right edges"},
    {116, 50, 0xd280139afd97832bull, "pinwheel of four triangles"},
    {117, 60, 0x73afb82080674fbfull, "triangle grid: X5 = X div 5 and Y5 by the aspect"},
    {118, 37, 0x8aee865660187012ull, "blend: each term divided on its own"},
    {119, 50, 0x2fe98add95ee99afull, "rotation about the top-left corner"},
    {122, 30, 0x577c518d0a29381dull, "rotation about the bottom-right corner"},
    {123, 40, 0xad818ad0f407d4f5ull,
     "scatter bars from the right: block chances and strip overlap"},
    {126, 60, 0xe4c93c4ab9d58523ull, "scatter bars from the top"},
    {127, 30, 0xd590988344121e7ull, "dissolve: block size and one draw per block, columns outer"},
};

uint64_t FrameHash(int32_t style, int32_t progress) {
  static const Bitmap24 old_image = testing::MakeOldImage(64, 48);
  static const Bitmap24 new_image = testing::MakeNewImage(64, 48);
  set_random_seed(0);
  const auto frame = testing::Compose(old_image, new_image, style, progress);
  uint64_t hash = testing::HashFrame(frame.screen);
  hash ^= random_seed();
  hash *= 1099511628211ull;
  return hash;
}

TEST(GoldenFrames, MatchTheRecordedHashes) {
  for (const GoldenFrame& g : kGolden) {
    const uint64_t hash = FrameHash(g.style, g.progress);
    EXPECT_EQ(hash, g.hash) << "style " << g.style << " at p=" << g.progress << " (" << g.protects
                            << "): got 0x" << std::hex << hash;
  }
}

}  // namespace
}  // namespace ss
