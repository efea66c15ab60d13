// JPEG files from untrusted bytes, within the decoder's limits on pixels, scans and memory:
// the header is read as a picture is loaded, and the image is decoded as the show draws it,
// shrunk to fit a small screen.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "package/jpeg_graphic.h"

namespace {

constexpr int32_t kScreenWidth = 160;
constexpr int32_t kScreenHeight = 120;

// A 200-byte file may declare 64 million pixels, which the decoder accepts; a progressive one
// then needs a coefficient buffer of hundreds of megabytes. Touching that much fresh memory on
// every run would slow the search many times over, so such headers are read but not decoded here.
constexpr int64_t kDecodedPixelBudget = int64_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const ss::JpegGraphic jpeg(std::vector<uint8_t>(data, data + size));
    if (jpeg.empty() || int64_t{jpeg.width()} * jpeg.height() > kDecodedPixelBudget) return 0;
    // Shrunk to fit, keeping the aspect: at least one pixel each way.
    const int64_t w = jpeg.width(), h = jpeg.height();
    const double scale = std::min({1.0, double(kScreenWidth) / w, double(kScreenHeight) / h});
    const auto fit_w = static_cast<int32_t>(std::max<int64_t>(1, static_cast<int64_t>(w * scale)));
    const auto fit_h = static_cast<int32_t>(std::max<int64_t>(1, static_cast<int64_t>(h * scale)));
    static ss::Bitmap24 screen(kScreenWidth, kScreenHeight);
    jpeg.draw(screen, {0, 0, fit_w, fit_h});
  } catch (const ss::SaverError&) {
  }
  return 0;
}
