#include "package/jpeg_graphic.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <string>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "base/error.h"
#include "gfx/area_scale.h"
#include "package/bitmap_graphic.h"
#include "package/picture_limits.h"

namespace ss {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back
// to the guarded call that is running; that call returns false and the caller raises the error
// in ordinary C++ code. The guarded calls keep no C++ objects alive across the jump.
enum class Failure { kNone, kLibjpeg, kTooManyScans };

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf jump;
  Failure failure;
  int code;
};

ErrorManager& error_manager_of(j_common_ptr cinfo) {
  return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void on_error_exit(j_common_ptr cinfo) {
  ErrorManager& err = error_manager_of(cinfo);
  err.failure = Failure::kLibjpeg;
  err.code = err.pub.msg_code;
  std::longjmp(err.jump, 1);
}

// Warnings (corrupt data, a premature end) are counted and otherwise ignored, so that the decode
// goes on; nothing is written to stderr.
void on_emit_message(j_common_ptr cinfo, int level) {
  if (level < 0) ++cinfo->err->num_warnings;
}
void on_output_message(j_common_ptr) {}

void on_progress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  const auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number <= jpeg_scan_limit(dinfo->image_width, dinfo->image_height)) return;
  ErrorManager& err = error_manager_of(cinfo);
  err.failure = Failure::kTooManyScans;
  std::longjmp(err.jump, 1);
}

// Adobe writes CMYK inverted; libjpeg hands the stored values through.
void cmyk_row_to_bgr(const uint8_t* cmyk, uint8_t* bgr, int32_t width, bool inverted) {
  for (int32_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
  }
}

class JpegReader {
 public:
  explicit JpegReader(std::span<const uint8_t> bytes) : bytes_(bytes) {
    cinfo_.err = jpeg_std_error(&err_.pub);
    err_.pub.error_exit = on_error_exit;
    err_.pub.emit_message = on_emit_message;
    err_.pub.output_message = on_output_message;
    err_.failure = Failure::kNone;
    err_.code = 0;
    progress_.progress_monitor = on_progress;
  }
  ~JpegReader() { jpeg_destroy_decompress(&cinfo_); }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  JpegHeader read_header() {
    if (!guarded_read_header()) raise();
    const JpegHeader header{static_cast<int32_t>(cinfo_.image_width),
                            static_cast<int32_t>(cinfo_.image_height),
                            cinfo_.jpeg_color_space == JCS_GRAYSCALE, cinfo_.progressive_mode != 0};
    if (!picture_size_allowed(header.width, header.height)) throw SaverError(kJpegTooLarge);
    return header;
  }

  void decode(int eighths, Bitmap24& out) {
    read_header();
    cmyk_ = cinfo_.jpeg_color_space == JCS_CMYK || cinfo_.jpeg_color_space == JCS_YCCK;
    cinfo_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_BGR;
    cinfo_.scale_num = static_cast<unsigned>(eighths < 1 ? 1 : eighths > 8 ? 8 : eighths);
    cinfo_.scale_denom = 8;
    if (!guarded_start()) raise();
    // Every row is written below (libjpeg makes up rows past a premature end), so a buffer of
    // the right size need not be cleared first.
    const auto w = static_cast<int32_t>(cinfo_.output_width);
    const auto h = static_cast<int32_t>(cinfo_.output_height);
    if (out.width() != w || out.height() != h) out.resize(w, h);
    if (cmyk_) {
      thread_local std::vector<uint8_t> cmyk_row;
      cmyk_row.resize(static_cast<size_t>(cinfo_.output_width) * 4);
      cmyk_row_ = cmyk_row.data();
    }
    if (!guarded_read_rows(out)) raise();
  }

 private:
  [[noreturn]] void raise() const {
    if (err_.failure == Failure::kTooManyScans) throw SaverError(kJpegTooManyScans);
    throw SaverError("JPEG error #" + std::to_string(err_.code));
  }

  bool guarded_read_header() {
    if (setjmp(err_.jump)) return false;
    jpeg_create_decompress(&cinfo_);
    cinfo_.mem->max_memory_to_use = kJpegMemoryLimit;
    cinfo_.progress = &progress_;
    jpeg_mem_src(&cinfo_, bytes_.data(), static_cast<unsigned long>(bytes_.size()));
    jpeg_read_header(&cinfo_, TRUE);
    return true;
  }

  bool guarded_start() {
    if (setjmp(err_.jump)) return false;
    jpeg_start_decompress(&cinfo_);
    return true;
  }

  // Rows arrive top-down, straight into the bitmap (or through one CMYK row).
  bool guarded_read_rows(Bitmap24& out) {
    if (setjmp(err_.jump)) return false;
    while (cinfo_.output_scanline < cinfo_.output_height) {
      uint8_t* dst = out.row(static_cast<int32_t>(cinfo_.output_scanline));
      row_pointer_[0] = cmyk_ ? cmyk_row_ : dst;
      if (jpeg_read_scanlines(&cinfo_, row_pointer_, 1) != 1) break;
      if (cmyk_)
        cmyk_row_to_bgr(cmyk_row_, dst, static_cast<int32_t>(cinfo_.output_width),
                        cinfo_.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&cinfo_);
    return true;
  }

  std::span<const uint8_t> bytes_;
  jpeg_decompress_struct cinfo_{};
  ErrorManager err_{};
  jpeg_progress_mgr progress_{};
  JSAMPROW row_pointer_[1] = {};
  bool cmyk_ = false;
  uint8_t* cmyk_row_ = nullptr;
};

// The memory of a decoded picture outlives its graphic on this thread, so that the next picture
// of a show decodes into it instead of allocating anew.
Bitmap24& spare_decode_buffer() {
  thread_local Bitmap24 spare;
  return spare;
}

int32_t scaled_extent(int32_t extent, int eighths) {
  return static_cast<int32_t>((int64_t{extent} * eighths + 7) / 8);
}

}  // namespace

int jpeg_scan_limit(int64_t width, int64_t height) {
  const int64_t pixels = std::max<int64_t>(1, width * height);
  return static_cast<int>(std::clamp<int64_t>(kJpegMaxScanPixels / pixels, 16, kJpegMaxScans));
}

JpegHeader read_jpeg_header(std::span<const uint8_t> jpeg) {
  return JpegReader(jpeg).read_header();
}

int jpeg_scale_for(int32_t width, int32_t height, int32_t target_w, int32_t target_h) {
  // Only the scales with fast inverse transforms: with libjpeg-turbo, 3/8 decodes slower than
  // 4/8, and 5/8 to 7/8 slower than the full size.
  for (const int m : {1, 2, 4})
    if (scaled_extent(width, m) >= target_w && scaled_extent(height, m) >= target_h) return m;
  return 8;
}

void decode_jpeg(std::span<const uint8_t> jpeg, int eighths, Bitmap24& out) {
  JpegReader(jpeg).decode(eighths, out);
}

JpegGraphic::JpegGraphic(std::vector<uint8_t> bytes)
    : bytes_(std::move(bytes)), header_(read_jpeg_header(bytes_)) {}

JpegGraphic::~JpegGraphic() {
  if (decoded_scale_ != 0) spare_decode_buffer() = std::move(decoded_);
}

const Bitmap24& JpegGraphic::decoded_at_least(int eighths) const {
  if (decoded_scale_ >= eighths) return decoded_;
  if (decoded_scale_ == 0) {
    decoded_ = std::move(spare_decode_buffer());
    spare_decode_buffer() = Bitmap24();
  }
  decoded_scale_ = 0;  // stays 0 if the decode fails
  decode_jpeg(bytes_, eighths, decoded_);
  decoded_scale_ = eighths;
  return decoded_;
}

void JpegGraphic::draw(Bitmap24& dst, const Rect& dst_rect) const {
  if (empty() || dst_rect.empty() || dst_rect.intersect(dst.bounds()).empty()) return;
  const int eighths = jpeg_scale_for(width(), height(), dst_rect.width(), dst_rect.height());
  stretch_nearest(decoded_at_least(eighths), dst, dst_rect);
}

void JpegGraphic::draw_averaged(Bitmap24& dst, const Rect& dst_rect) const {
  if (empty() || dst_rect.empty() || dst_rect.intersect(dst.bounds()).empty()) return;
  // The scale covers the target on both axes, so the average only ever shrinks what it gets.
  const int eighths = jpeg_scale_for(width(), height(), dst_rect.width(), dst_rect.height());
  scale_area(decoded_at_least(eighths), dst, dst_rect);
}

Bitmap24 JpegGraphic::decode_scaled(int32_t target_w, int32_t target_h) const {
  Bitmap24 out(target_w, target_h);
  if (out.empty() || empty()) return out;
  const int eighths = jpeg_scale_for(width(), height(), target_w, target_h);
  stretch_nearest(decoded_at_least(eighths), out, out.bounds());
  return out;
}

}  // namespace ss
