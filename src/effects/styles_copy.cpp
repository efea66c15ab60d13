// The copy styles 1..57: squeeze, slide, wipe, zoom, split, roll and smear. Each row sets the
// final piece's D and R; multi-piece rows draw their earlier pieces themselves.
#include <array>
#include <cstddef>
#include <utility>

#include "effects/style_table.h"

namespace ss {
namespace {

constexpr StyleFamily kCopy = StyleFamily::kCopy;

// The roll band b ahead of an uncovered edge at `reach`: half the reach while it is short, half
// of what is left near the end, a tenth of the width in between.
int32_t roll_band_from_left(const FrameCtx& f) {
  if (f.X < f.W / 5) return f.X / 2;
  if (f.X + f.W / 5 > f.W) return (f.W - f.X) / 2;
  return f.W / 10;
}

int32_t roll_band_from_right(const FrameCtx& f) {
  const int32_t E = f.W - f.X;
  if (E + f.W / 5 > f.W) return f.X / 2;
  if (E < f.W / 5) return E / 2;
  return f.W / 10;
}

// Styles 1..17, written for the horizontal axis. Row k is style k + 1.
constexpr StyleRow kHorizontal[] = {
    // 1 squeeze from the right
    {kCopy, [](FrameCtx& f) { f.D = f.cols(f.W - f.X, f.W); }},
    // 2 squeeze from the left
    {kCopy, [](FrameCtx& f) { f.D = f.cols(0, f.X); }},
    // 3 slide from the right
    {kCopy, [](FrameCtx& f) { f.D = f.cols(f.W - f.X, 2 * f.W - f.X); }},
    // 4 slide from the left
    {kCopy, [](FrameCtx& f) { f.D = f.cols(f.X - f.W, f.X); }},
    // 5 wipe from the left
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.cols(0, f.X); }},
    // 6 wipe from the right
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.cols(f.W - f.X, f.W); }},
    // 7 zoom from the left
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.cols(0, 2 * f.W - f.X);
       f.R = f.cols(0, f.X);
     }},
    // 8 zoom from the right
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.cols(f.X - f.W, f.W);
       f.R = f.cols(f.W - f.X, f.W);
     }},
    // 9 zoom from the vertical centre line
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.cols(f.X - f.W, 2 * f.W - f.X);
       f.R = f.cols((f.W - f.X) / 2, (f.W + f.X) / 2);
     }},
    // 10 squeeze from the vertical centre line
    {kCopy, [](FrameCtx& f) { f.D = f.cols((f.W - f.X) / 2, (f.W + f.X) / 2); }},
    // 11 wipe from the vertical centre line
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.cols((f.W - f.X) / 2, (f.W + f.X) / 2); }},
    // 12 split wipe from both sides
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.R = f.cols(0, f.X / 2 + 1);
       f.piece();
       f.D = f.R = f.cols(f.W - f.X / 2 - 1, f.W);
     }},
    // 13 split squeeze from both sides
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.cols(0, f.X / 2 + 1);
       f.R = f.cols(0, f.W / 2 + 1);
       f.piece();
       f.D = f.cols(f.W - f.X / 2 - 1, f.W);
       f.R = f.cols(f.W / 2, f.W);
     }},
    // 14 roll from the left: a mirrored band of the next strip rides ahead of the edge
    {kCopy,
     [](FrameCtx& f) {
       const int32_t b = roll_band_from_left(f);
       f.D = f.cols(f.X, f.X + b);
       f.R = f.cols(f.X + b, f.X + 2 * b);
       f.rolled_piece();
       f.D = f.R = f.cols(0, f.X);
     }},
    // 15 roll from the right
    {kCopy,
     [](FrameCtx& f) {
       const int32_t b = roll_band_from_right(f);
       const int32_t E = f.W - f.X;
       f.D = f.cols(E - b, E);
       f.R = f.cols(E - 2 * b, E - b);
       f.rolled_piece();
       f.D = f.R = f.cols(f.W - f.X, f.W);
     }},
    // 16 smear from the left: the strip just ahead of the edge is stretched over the rest
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.R = f.cols(0, f.X);
       f.piece();
       f.D = f.cols(f.X, f.W);
       f.R = f.cols(f.X, f.X + f.W / 20);
     }},
    // 17 smear from the right
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.R = f.cols(f.W - f.X, f.W);
       f.piece();
       f.D = f.cols(0, f.W - f.X);
       f.R = f.cols(f.W - f.X - f.W / 20, f.W - f.X);
     }},
};

constexpr size_t kTwinCount = std::size(kHorizontal);

// Styles 18..34 are 1..17 with rows and columns exchanged.
template <size_t k>
void vertical_twin(FrameCtx& f) {
  f.exchange_axes();
  kHorizontal[k].build(f);
  f.exchange_axes();
}

template <size_t... k>
constexpr std::array<StyleRow, sizeof...(k)> make_twins(std::index_sequence<k...>) {
  return {StyleRow{kCopy, &vertical_twin<k>}...};
}

constexpr auto kVertical = make_twins(std::make_index_sequence<kTwinCount>{});

// Styles 35..57: both axes at once.
constexpr StyleRow kCorners[] = {
    // 35 squeeze from the bottom-right
    {kCopy, [](FrameCtx& f) { f.D = f.area(f.W - f.X, f.W, f.H - f.Y, f.H); }},
    // 36 squeeze from the top-right
    {kCopy, [](FrameCtx& f) { f.D = f.area(f.W - f.X, f.W, 0, f.Y); }},
    // 37 squeeze from the top-left
    {kCopy, [](FrameCtx& f) { f.D = f.area(0, f.X, 0, f.Y); }},
    // 38 squeeze from the bottom-left
    {kCopy, [](FrameCtx& f) { f.D = f.area(0, f.X, f.H - f.Y, f.H); }},
    // 39 slide from the bottom-right
    {kCopy, [](FrameCtx& f) { f.D = f.area(f.W - f.X, 2 * f.W - f.X, f.H - f.Y, 2 * f.H - f.Y); }},
    // 40 slide from the top-right
    {kCopy, [](FrameCtx& f) { f.D = f.area(f.W - f.X, 2 * f.W - f.X, f.Y - f.H, f.Y); }},
    // 41 slide from the top-left
    {kCopy, [](FrameCtx& f) { f.D = f.area(f.X - f.W, f.X, f.Y - f.H, f.Y); }},
    // 42 slide from the bottom-left
    {kCopy, [](FrameCtx& f) { f.D = f.area(f.X - f.W, f.X, f.H - f.Y, 2 * f.H - f.Y); }},
    // 43 wipe from the top-left
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.area(0, f.X, 0, f.Y); }},
    // 44 wipe from the bottom-left
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.area(0, f.X, f.H - f.Y, f.H); }},
    // 45 wipe from the bottom-right
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.area(f.W - f.X, f.W, f.H - f.Y, f.H); }},
    // 46 wipe from the top-right
    {kCopy, [](FrameCtx& f) { f.D = f.R = f.area(f.W - f.X, f.W, 0, f.Y); }},
    // 47 zoom from the top-left
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area(0, 2 * f.W - f.X, 0, 2 * f.H - f.Y);
       f.R = f.area(0, f.X, 0, f.Y);
     }},
    // 48 zoom from the bottom-left
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area(0, 2 * f.W - f.X, f.Y - f.H, f.H);
       f.R = f.area(0, f.X, f.H - f.Y, f.H);
     }},
    // 49 zoom from the bottom-right
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area(f.X - f.W, f.W, f.Y - f.H, f.H);
       f.R = f.area(f.W - f.X, f.W, f.H - f.Y, f.H);
     }},
    // 50 zoom from the top-right
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area(f.X - f.W, f.W, 0, 2 * f.H - f.Y);
       f.R = f.area(f.W - f.X, f.W, 0, f.Y);
     }},
    // 51 zoom from the centre
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area(f.X - f.W, 2 * f.W - f.X, f.Y - f.H, 2 * f.H - f.Y);
       f.R = f.area((f.W - f.X) / 2, (f.W + f.X) / 2, (f.H - f.Y) / 2, (f.H + f.Y) / 2);
     }},
    // 52 squeeze from the centre
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area((f.W - f.X) / 2, (f.W + f.X) / 2, (f.H - f.Y) / 2, (f.H + f.Y) / 2);
     }},
    // 53 wipe from the centre
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.R = f.area((f.W - f.X) / 2, (f.W + f.X) / 2, (f.H - f.Y) / 2, (f.H + f.Y) / 2);
     }},
    // 54 split wipe from the four edges
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.R = f.rows(0, f.Y / 2);
       f.piece();
       f.D = f.R = f.rows(f.H - f.Y / 2, f.H);
       f.piece();
       f.D = f.R = f.cols(0, f.X / 2);
       f.piece();
       f.D = f.R = f.cols(f.W - f.X / 2, f.W);
     }},
    // 55 split wipe from the four corners
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.R = f.area(0, f.X / 2 + 1, 0, f.Y / 2 + 1);
       f.piece();
       f.D = f.R = f.area(0, f.X / 2 + 1, f.H - f.Y / 2 - 1, f.H);
       f.piece();
       f.D = f.R = f.area(f.W - f.X / 2 - 1, f.W, f.H - f.Y / 2 - 1, f.H);
       f.piece();
       f.D = f.R = f.area(f.W - f.X / 2 - 1, f.W, 0, f.Y / 2 + 1);
     }},
    // 56 split squeeze of the four quarters into the corners
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area(0, f.X / 2 + 1, 0, f.Y / 2 + 1);
       f.R = f.area(0, f.W / 2 + 1, 0, f.H / 2 + 1);
       f.piece();
       f.D = f.area(0, f.X / 2 + 1, f.H - f.Y / 2, f.H);
       f.R = f.area(0, f.W / 2 + 1, f.H / 2 + 1, f.H);
       f.piece();
       f.D = f.area(f.W - f.X / 2, f.W, f.H - f.Y / 2, f.H);
       f.R = f.area(f.W / 2 + 1, f.W, f.H / 2 + 1, f.H);
       f.piece();
       f.D = f.area(f.W - f.X / 2, f.W, 0, f.Y / 2 + 1);
       f.R = f.area(f.W / 2 + 1, f.W, 0, f.H / 2 + 1);
     }},
    // 57 split slide of the four quarters: top-left from the left, top-right from the top,
    // bottom-right from the right, bottom-left from the bottom
    {kCopy,
     [](FrameCtx& f) {
       f.D = f.area((f.X - f.W) / 2, f.X / 2 + 1, 0, f.H / 2 + 1);
       f.R = f.area(0, f.W / 2 + 1, 0, f.H / 2 + 1);
       f.piece();
       f.D = f.area(f.W / 2 - 1, f.W, (f.Y - f.H) / 2, f.Y / 2 + 1);
       f.R = f.area(f.W / 2 - 1, f.W, 0, f.H / 2 + 1);
       f.piece();
       f.D = f.area(f.W - f.X / 2, (f.W - f.X) / 2 + f.W, f.H / 2 - 1, f.H);
       f.R = f.area(f.W / 2 + 1, f.W, f.H / 2 - 1, f.H);
       f.piece();
       f.D = f.area(0, f.W / 2 + 1, f.H - f.Y / 2, (f.H - f.Y) / 2 + f.H);
       f.R = f.area(0, f.W / 2 + 1, f.H / 2 + 1, f.H);
     }},
};

template <size_t A, size_t B, size_t C>
constexpr std::array<StyleRow, A + B + C> join(const StyleRow (&a)[A],
                                               const std::array<StyleRow, B>& b,
                                               const StyleRow (&c)[C]) {
  std::array<StyleRow, A + B + C> all{};
  size_t i = 0;
  for (const StyleRow& row : a) all[i++] = row;
  for (const StyleRow& row : b) all[i++] = row;
  for (const StyleRow& row : c) all[i++] = row;
  return all;
}

constexpr auto kCopyRows = join(kHorizontal, kVertical, kCorners);
static_assert(kCopyRows.size() == 57, "the copy styles are 1..57");

}  // namespace

std::span<const StyleRow> CopyStyleRows() {
  return kCopyRows;
}

}  // namespace ss
