#include "support/gif_reader.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace ss_test {
namespace {

struct Input {
  std::span<const uint8_t> bytes;
  size_t at = 0;
};

int read_from_span(GifFileType* gif, GifByteType* out, int length) {
  auto* in = static_cast<Input*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(length), in->bytes.size() - in->at);
  std::memcpy(out, in->bytes.data() + in->at, n);
  in->at += n;
  return static_cast<int>(n);
}

void fail(const std::string& what) {
  throw std::runtime_error("GIF: " + what);
}

}  // namespace

GifFile decode_gif(std::span<const uint8_t> bytes) {
  Input input{bytes};
  int error = 0;
  const std::unique_ptr<GifFileType, void (*)(GifFileType*)> gif(
      DGifOpen(&input, read_from_span, &error), [](GifFileType* g) { DGifCloseFile(g, nullptr); });
  if (!gif) fail("not a GIF");
  if (DGifSlurp(gif.get()) != GIF_OK) fail(GifErrorString(gif->Error));
  GifFile out;
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  ss::Bitmap24 canvas(out.width, out.height);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GifFrame frame;
    for (int e = 0; e < image.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = image.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && e + 1 < image.ExtensionBlockCount) {
        const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
        out.loops = true;
        out.loop_count = static_cast<uint16_t>(data.Bytes[1] | data.Bytes[2] << 8);
      }
    }
    GraphicsControlBlock control{};
    if (DGifSavedExtensionToGCB(gif.get(), i, &control) == GIF_OK)
      frame.delay_cs = static_cast<uint16_t>(control.DelayTime);
    const GifImageDesc& d = image.ImageDesc;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (map == nullptr) fail("a frame without colours");
    frame.palette_size = map->ColorCount;
    frame.area = {d.Left, d.Top, d.Left + d.Width, d.Top + d.Height};
    if (d.Left + d.Width > out.width || d.Top + d.Height > out.height) fail("frame off the canvas");
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[static_cast<size_t>(y) * d.Width + x];
        if (index >= map->ColorCount) fail("index beyond the table");
        const GifColorType c = map->Colors[index];
        canvas.set_pixel(d.Left + x, d.Top + y, ss::rgb(c.Red, c.Green, c.Blue));
      }
    frame.image = canvas;
    out.frames.push_back(std::move(frame));
  }
  return out;
}

}  // namespace ss_test
