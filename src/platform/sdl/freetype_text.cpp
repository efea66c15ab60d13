#include "platform/sdl/freetype_text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <iconv.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "base/text.h"

namespace ss {
namespace {

constexpr int32_t kDefaultCharacterHeight = 11;
// Sizes beyond this are drawn at this size: nothing on a screen needs more, and a package's
// font height must not make FreeType build giant glyphs.
constexpr int64_t kMaxPixels = 2048;

int64_t rounded_ratio(int64_t value, int64_t numerator, int64_t denominator) {
  return (value * numerator + denominator / 2) / denominator;
}

// The vertical extent in font units that makes the cell: the Windows metrics of the OS/2 table
// where the font has them, as the system measures a cell; otherwise the font's own.
std::pair<int64_t, int64_t> design_ascent_descent(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    return {os2->usWinAscent, os2->usWinDescent};
  }
  if (face->ascender - face->descender > 0) return {face->ascender, -int64_t{face->descender}};
  return {face->units_per_EM * 4 / 5, face->units_per_EM / 5};
}

void blend(uint8_t* pixel, Color color, unsigned coverage) {
  const uint8_t target[3] = {color_blue(color), color_green(color), color_red(color)};
  for (int i = 0; i < 3; ++i) {
    const int delta = (static_cast<int>(target[i]) - pixel[i]) * static_cast<int>(coverage);
    pixel[i] = static_cast<uint8_t>(pixel[i] + delta / 255);
  }
}

void blend_glyph(Bitmap24& dst, const FT_Bitmap& bitmap, int64_t left, int64_t top, Color color) {
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int64_t y = top + row;
    if (y < 0 || y >= dst.height()) continue;
    const uint8_t* line = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const int64_t x = left + column;
      if (x < 0 || x >= dst.width()) continue;
      unsigned coverage = 0;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        coverage = (line[column / 8] & (0x80 >> (column % 8))) != 0 ? 255 : 0;
      } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        coverage = line[column] * 255u / std::max(1, bitmap.num_grays - 1);
      }
      if (coverage != 0)
        blend(dst.row(static_cast<int32_t>(y)) + static_cast<size_t>(x) * 3, color, coverage);
    }
  }
}

void fill_line(Bitmap24& dst, int64_t left, int64_t right, int64_t top, int64_t thickness,
               Color color) {
  for (int64_t y = std::max<int64_t>(top, 0); y < std::min<int64_t>(top + thickness, dst.height());
       ++y) {
    for (int64_t x = std::max<int64_t>(left, 0); x < std::min<int64_t>(right, dst.width()); ++x)
      blend(dst.row(static_cast<int32_t>(y)) + static_cast<size_t>(x) * 3, color, 255);
  }
}

}  // namespace

std::u32string decode_ansi_text(const std::string& text, int32_t charset) {
  const int code_page = code_page_for_charset(charset);
  std::u32string out;
  if (code_page == 1252) {
    for (const char c : text) out += static_cast<char32_t>(cp1252_to_unicode(static_cast<uint8_t>(c)));
    return out;
  }
  const std::string name = "CP" + std::to_string(code_page);
  iconv_t cd = iconv_open("UTF-32LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return decode_ansi_text(text, 1);
  std::string input = text;
  char* in = input.data();
  size_t in_left = input.size();
  std::vector<char32_t> buffer(input.size() + 1);
  char* outp = reinterpret_cast<char*>(buffer.data());
  size_t out_left = buffer.size() * sizeof(char32_t);
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &outp, &out_left) != static_cast<size_t>(-1)) break;
    ++in;  // a byte the code page does not define: skip it
    --in_left;
  }
  iconv_close(cd);
  const size_t count = (buffer.size() * sizeof(char32_t) - out_left) / sizeof(char32_t);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&buffer[i]);
    out += static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | uint32_t{b[3]} << 24);
  }
  return out;
}

FreeTypeText::FreeTypeText() {
  FcInit();
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

FreeTypeText::~FreeTypeText() {
  for (auto& [key, face] : faces_) {
    if (face != nullptr) FT_Done_Face(face);
  }
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

std::string FreeTypeText::matched_file(const std::string& face, bool bold) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return {};
  if (!face.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return {};
  std::string file;
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
    file = reinterpret_cast<const char*>(path);
  FcPatternDestroy(match);
  return file;
}

FT_Face FreeTypeText::face_for(const std::string& name, bool bold) {
  const auto key = std::make_pair(name, bold);
  if (const auto found = faces_.find(key); found != faces_.end()) return found->second;
  FT_Face face = nullptr;
  const std::string file = library_ != nullptr ? matched_file(name, bold) : std::string();
  if (!file.empty() && FT_New_Face(library_, file.c_str(), 0, &face) != 0) face = nullptr;
  if (face != nullptr && (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)) {
    FT_Done_Face(face);
    face = nullptr;
  }
  faces_[key] = face;  // a face that is missing stays missing for this run
  return face;
}

FT_Face FreeTypeText::sized_face(const TextFontSpec& font, bool bold, Metrics& metrics) {
  FT_Face face = face_for(font.face, bold);
  if (face == nullptr) return nullptr;
  const int64_t height = font.height == 0 ? -kDefaultCharacterHeight : font.height;
  const auto [ascent, descent] = design_ascent_descent(face);
  const int64_t em = face->units_per_EM;
  int64_t ppem = 0;
  if (height < 0) {
    ppem = std::min(-height, kMaxPixels);
    metrics.cell_height = static_cast<int32_t>(rounded_ratio(ascent + descent, ppem, em));
    metrics.ascent = static_cast<int32_t>(rounded_ratio(ascent, ppem, em));
  } else {
    const int64_t cell = std::min(height, kMaxPixels);
    ppem = std::max<int64_t>(1, rounded_ratio(cell, em, ascent + descent));
    metrics.cell_height = static_cast<int32_t>(cell);
    metrics.ascent = static_cast<int32_t>(rounded_ratio(cell, ascent, ascent + descent));
  }
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::max<int64_t>(ppem, 1))) != 0)
    return nullptr;
  return face;
}

TextExtent FreeTypeText::measure_styled(const std::string& text, const TextFontSpec& font,
                                        TextStyle style) {
  Metrics metrics;
  FT_Face face = sized_face(font, style.bold, metrics);
  if (face == nullptr) return {};
  int64_t width = 0;  // 26.6 pixels
  for (const char32_t c : decode_ansi_text(text, font.charset)) {
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0) continue;
    if (style.bold && !(face->style_flags & FT_STYLE_FLAG_BOLD)) FT_GlyphSlot_Embolden(face->glyph);
    width += face->glyph->advance.x;
  }
  const int64_t pixels = std::min<int64_t>((width + 32) >> 6, std::numeric_limits<int32_t>::max());
  return {static_cast<int32_t>(pixels), metrics.cell_height};
}

void FreeTypeText::draw_styled(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
                               const TextFontSpec& font, TextStyle style) {
  Metrics metrics;
  FT_Face face = sized_face(font, style.bold, metrics);
  if (face == nullptr) return;
  const Color color = resolve_color(font.color);
  const int64_t baseline = int64_t{y} + metrics.ascent;
  int64_t pen = int64_t{x} * 64;
  for (const char32_t c : decode_ansi_text(text, font.charset)) {
    if ((pen >> 6) >= dst.width()) break;
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    if (style.bold && !(face->style_flags & FT_STYLE_FLAG_BOLD)) FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
      blend_glyph(dst, slot->bitmap, (pen >> 6) + slot->bitmap_left, baseline - slot->bitmap_top,
                  color);
    }
    pen += slot->advance.x;
  }
  if (style.underline) {
    const int64_t position = FT_MulFix(face->underline_position, face->size->metrics.y_scale);
    const int64_t thickness = FT_MulFix(face->underline_thickness, face->size->metrics.y_scale);
    fill_line(dst, x, (pen + 32) >> 6, baseline - (position >> 6),
              std::max<int64_t>(1, (thickness + 32) >> 6), color);
  }
}

}  // namespace ss
