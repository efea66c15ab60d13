#include "package/identifier_tables.h"

#include "base/text.h"

namespace ss {
namespace {

constexpr Identifier kCharsets[] = {
    {"ANSI_CHARSET", 0},     {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},     {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},  {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},  {"TURKISH_CHARSET", 162},    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186},     {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},   {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

constexpr int32_t system_color(int32_t index) {
  return static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(index));
}

constexpr Identifier kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", system_color(0)},
    {"clBackground", system_color(1)},
    {"clActiveCaption", system_color(2)},
    {"clInactiveCaption", system_color(3)},
    {"clMenu", system_color(4)},
    {"clWindow", system_color(5)},
    {"clWindowFrame", system_color(6)},
    {"clMenuText", system_color(7)},
    {"clWindowText", system_color(8)},
    {"clCaptionText", system_color(9)},
    {"clActiveBorder", system_color(10)},
    {"clInactiveBorder", system_color(11)},
    {"clAppWorkSpace", system_color(12)},
    {"clHighlight", system_color(13)},
    {"clHighlightText", system_color(14)},
    {"clBtnFace", system_color(15)},
    {"clBtnShadow", system_color(16)},
    {"clGrayText", system_color(17)},
    {"clBtnText", system_color(18)},
    {"clInactiveCaptionText", system_color(19)},
    {"clBtnHighlight", system_color(20)},
    {"cl3DDkShadow", system_color(21)},
    {"cl3DLight", system_color(22)},
    {"clInfoText", system_color(23)},
    {"clInfoBk", system_color(24)},
    {"clHotLight", system_color(26)},
    {"clGradientActiveCaption", system_color(27)},
    {"clGradientInactiveCaption", system_color(28)},
    {"clMenuHighlight", system_color(29)},
    {"clMenuBar", system_color(30)},
};

}  // namespace

IdentifierTable charset_identifiers() {
  return kCharsets;
}
IdentifierTable color_identifiers() {
  return kColors;
}

std::optional<int32_t> find_identifier_value(IdentifierTable table, std::string_view name) {
  for (const Identifier& entry : table)
    if (iequals(entry.name, name)) return entry.value;
  return std::nullopt;
}

std::optional<std::string_view> find_identifier_name(IdentifierTable table, int32_t value) {
  for (const Identifier& entry : table)
    if (entry.value == value) return entry.name;
  return std::nullopt;
}

}  // namespace ss
