#pragma once
// Text through FreeType, with faces found by fontconfig: the face name is matched the way the
// desktop matches it (a missing face gets the closest one there is), and heights follow the
// system's convention, negative for the character height (the em), positive for the cell height
// (ascent plus descent). Glyphs are anti-aliased and blended over what is already there, in the
// text's colour. Text is 8-bit, in the Windows Latin-1 code page the packages carry.
//
// When no font at all can be found or loaded, text measures as empty and draws nothing: a
// caption is never worth stopping a show for.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "platform/text_renderer.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace ss {

struct TextStyle {
  bool bold = false;
  bool underline = false;
};

class FreeTypeText final : public TextRenderer {
 public:
  FreeTypeText();
  ~FreeTypeText() override;
  FreeTypeText(const FreeTypeText&) = delete;
  FreeTypeText& operator=(const FreeTypeText&) = delete;

  TextExtent measure(const std::string& text, const TextFontSpec& font) override {
    return measure_styled(text, font, {});
  }
  void draw(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
            const TextFontSpec& font) override {
    draw_styled(dst, x, y, text, font, {});
  }

  // The setup dialog's labels also come in bold and underlined.
  TextExtent measure_styled(const std::string& text, const TextFontSpec& font, TextStyle style);
  void draw_styled(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
                   const TextFontSpec& font, TextStyle style);

  // The file fontconfig chose for a face name, for the record; empty when none.
  std::string matched_file(const std::string& face, bool bold = false);

 private:
  struct Metrics {
    int32_t ascent = 0;
    int32_t cell_height = 0;
  };
  // The face for a name and weight, sized for a height; null when there is none.
  FT_FaceRec_* sized_face(const TextFontSpec& font, bool bold, Metrics& metrics);
  FT_FaceRec_* face_for(const std::string& name, bool bold);

  FT_LibraryRec_* library_ = nullptr;
  std::map<std::pair<std::string, bool>, FT_FaceRec_*> faces_;
};

// The characters of an ANSI text in the code page the charset selects. Bytes the code page
// cannot decode are dropped.
std::u32string decode_ansi_text(const std::string& text, int32_t charset);

}  // namespace ss
