#pragma once
// JPEG pictures through libjpeg. Loading reads only the header (size, grey-scale, progressive);
// the image is decoded when first drawn, at the smallest DCT scale that still covers the target,
// and kept for later draws.
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "gfx/bitmap24.h"
#include "package/picture.h"

namespace ss {

inline constexpr const char* kJpegTooLarge = "JPEG image is too large";
inline constexpr const char* kJpegTooManyScans = "JPEG image has too many scans";

// Hostile files: a progressive file can hold any number of tiny scans, and its coefficient
// buffer grows with the image. Both are capped. Every scan passes over the whole image, so a
// large picture may have fewer scans: a few kilobytes of repeated scan headers would otherwise
// keep a picture of the largest size decoding for many seconds. Encoders write a dozen scans at
// most, which the largest picture still has room for.
inline constexpr int kJpegMaxScans = 1000;
inline constexpr int64_t kJpegMaxScanPixels = int64_t{1} << 30;  // scans × width × height
inline constexpr long kJpegMemoryLimit = 512L * 1024 * 1024;

// The scans a picture of this size may have: kJpegMaxScans, fewer for a large one, at least 16.
int jpeg_scan_limit(int64_t width, int64_t height);

struct JpegHeader {
  int32_t width = 0;
  int32_t height = 0;
  bool grayscale = false;
  bool progressive = false;
};

// Decoder failures raise "JPEG error #n", n being libjpeg's message code.
JpegHeader read_jpeg_header(std::span<const uint8_t> jpeg);

// The scale M (the image decoded at M/8) for a target of target_w × target_h: the smallest of
// 1, 2 and 4 whose output still covers the target, else 8 (the full size). The other eighths
// are left out because they decode no faster than the next of these.
int jpeg_scale_for(int32_t width, int32_t height, int32_t target_w, int32_t target_h);

// Decodes at scale eighths/8 (1..8) into out, which is resized (its memory is reused when large
// enough). Corrupt data only warns: the decode goes on and shows what could be read.
void decode_jpeg(std::span<const uint8_t> jpeg, int eighths, Bitmap24& out);

class JpegGraphic final : public Graphic {
 public:
  // Reads the header; raises the decoder's error for a file it rejects.
  explicit JpegGraphic(std::vector<uint8_t> bytes);
  ~JpegGraphic() override;
  JpegGraphic(const JpegGraphic&) = delete;
  JpegGraphic& operator=(const JpegGraphic&) = delete;

  std::string_view class_name() const override { return "TJPEGImage"; }
  int32_t width() const override { return header_.width; }
  int32_t height() const override { return header_.height; }
  bool grayscale() const { return header_.grayscale; }
  bool progressive() const { return header_.progressive; }

  // Decodes on first use, at the smallest scale that covers dst_rect, then scales by nearest
  // sample into dst_rect (clipped to dst).
  void draw(Bitmap24& dst, const Rect& dst_rect) const override;
  void draw_averaged(Bitmap24& dst, const Rect& dst_rect) const override;

  // The picture scaled to exactly target_w × target_h, decoded at the smallest DCT scale that
  // covers that size.
  Bitmap24 decode_scaled(int32_t target_w, int32_t target_h) const;

  // The scale (in eighths) of the decoded image kept; 0 before the first decode.
  int decoded_scale() const { return decoded_scale_; }

 private:
  const Bitmap24& decoded_at_least(int eighths) const;

  std::vector<uint8_t> bytes_;
  JpegHeader header_;
  mutable Bitmap24 decoded_;
  mutable int decoded_scale_ = 0;
};

}  // namespace ss
