#pragma once
// The largest picture any of our decoders accepts. Package pictures come from the authoring
// tool, but the bytes are untrusted: a forged header must not make us allocate gigabytes.
#include <cstdint>

namespace ss {

inline constexpr int64_t kMaxPictureSide = 16384;
inline constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;

constexpr bool picture_size_allowed(int64_t width, int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

}  // namespace ss
