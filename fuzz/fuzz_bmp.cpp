// Bitmap files from untrusted bytes: every depth, run-length data, bit fields, core headers.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/error.h"
#include "package/bmp_decoder.h"

namespace {

// A 60-byte file may declare 64 million run-length pixels, which the decoder accepts. Clearing
// that much memory on every run would slow the search a hundredfold, so such headers are
// checked but their pixels are not decoded here.
constexpr int64_t kDecodedPixelBudget = int64_t{1} << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    if (size > 14) {
      const ss::DibInfo info = ss::parse_dib_header(bytes.subspan(14), ss::DibErrors{});
      if (int64_t{info.width} * info.height > kDecodedPixelBudget) return 0;
    }
    const ss::Bitmap24 image = ss::decode_bmp_file(bytes);
    if (image.width() <= 0 || image.height() <= 0) __builtin_trap();
  } catch (const ss::SaverError&) {
  }
  return 0;
}
