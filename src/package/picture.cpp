#include "package/picture.h"

#include <string_view>

#include "base/error.h"
#include "package/bitmap_graphic.h"
#include "package/bmp_decoder.h"
#include "package/icon_graphic.h"
#include "package/jpeg_graphic.h"
#include "package/metafile_graphic.h"
#include "package/picture_bytes.h"

namespace ss {
namespace {

// Every length is checked against the payload before anything is allocated for it.
std::span<const uint8_t> take_counted(PictureCursor& cursor) {
  const uint32_t length = cursor.u32();
  return cursor.take(length);
}

std::shared_ptr<const Graphic> read_metafile(PictureCursor& cursor) {
  // The length counts its own four bytes.
  const uint32_t length = cursor.u32();
  if (length <= 4) return std::make_shared<MetafileGraphic>();
  return decode_metafile(cursor.take(length - 4));
}

std::shared_ptr<const Graphic> read_bitmap(PictureCursor& cursor) {
  const auto file = take_counted(cursor);
  if (file.empty()) return std::make_shared<BitmapGraphic>(Bitmap24());
  return std::make_shared<BitmapGraphic>(decode_bmp_file(file));
}

std::shared_ptr<const Graphic> read_jpeg(PictureCursor& cursor) {
  const auto file = take_counted(cursor);
  return std::make_shared<JpegGraphic>(std::vector<uint8_t>(file.begin(), file.end()));
}

}  // namespace

Picture Picture::from_bitmap(Bitmap24 bitmap) {
  return Picture(std::make_shared<BitmapGraphic>(std::move(bitmap)));
}

Picture read_picture_payload(std::span<const uint8_t> payload) {
  PictureCursor cursor(payload, kStreamReadError);
  const auto name_bytes = cursor.take(cursor.u8());
  const std::string_view class_name(reinterpret_cast<const char*>(name_bytes.data()),
                                    name_bytes.size());
  // Class names are compared with their letter case: "TJpegImage" is no known graphic.
  if (class_name == "TMetafile") return Picture(read_metafile(cursor));
  if (class_name == "TIcon") return Picture(decode_icon(cursor.rest()));
  if (class_name == "TBitmap") return Picture(read_bitmap(cursor));
  if (class_name == "TJPEGImage") return Picture(read_jpeg(cursor));
  return Picture();
}

}  // namespace ss
