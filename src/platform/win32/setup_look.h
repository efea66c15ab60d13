#pragma once
// The setup dialog's fonts and colours on Windows, made from the layout's descriptions.
#include <windows.h>

#include <string>
#include <vector>

#include "gfx/color.h"
#include "gfx/geometry.h"
#include "platform/setup_view.h"

namespace ss {

// A colour as GDI takes it; system colours come from the system.
COLORREF colorref_of(Color color);

// One font per control of the layout, in the layout's order, owned until destruction.
class SetupFonts {
 public:
  explicit SetupFonts(const SetupDialogLayout& layout);
  ~SetupFonts();
  SetupFonts(const SetupFonts&) = delete;
  SetupFonts& operator=(const SetupFonts&) = delete;

  HFONT font(size_t control_index) const { return fonts_.at(control_index); }
  HFONT form_font() const { return form_font_; }

 private:
  HFONT form_font_;
  std::vector<HFONT> fonts_;
};

// The size a one-line label takes for `text` in `font`, with "&" marking the accelerator as the
// label draws it; nothing for an empty text.
Point label_text_size(HWND label, HFONT font, const std::string& text);

}  // namespace ss
