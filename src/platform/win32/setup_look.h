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

// The resolution of the monitor the window is on, where the system can say (Windows 10 1607
// and later); otherwise the screen's, which older systems use for every monitor.
int window_dpi(HWND window);

// One font per control of the layout at a screen resolution, in the layout's order, owned until
// destruction.
class SetupFonts {
 public:
  SetupFonts(const SetupDialogLayout& layout, int dpi);
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
