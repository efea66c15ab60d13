// Metafile headers from untrusted bytes, alone and inside a picture payload (with its own
// length word that counts itself).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/error.h"
#include "package/metafile_graphic.h"
#include "package/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    const auto graphic = ss::decode_metafile(bytes);
    if (graphic->width() < 0 || graphic->height() < 0) __builtin_trap();
  } catch (const ss::SaverError&) {
  }
  // The same bytes as a picture payload: the class name is given, the rest is the fuzzer's.
  std::vector<uint8_t> payload = {9, 'T', 'M', 'e', 't', 'a', 'f', 'i', 'l', 'e'};
  payload.insert(payload.end(), bytes.begin(), bytes.end());
  try {
    (void)ss::read_picture_payload(payload);
  } catch (const ss::SaverError&) {
  }
  return 0;
}
