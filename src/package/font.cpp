#include "package/font.h"

#include "base/muldiv.h"

namespace ss {

int32_t TFont::Size() const {
  return -MulDiv(Height, 72, PixelsPerInch);
}

void TFont::SetSize(int32_t points) {
  Height = -MulDiv(points, PixelsPerInch, 72);
}

}  // namespace ss
