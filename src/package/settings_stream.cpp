#include "package/settings_stream.h"

#include <string_view>

#include "package/identifier_tables.h"
#include "package/property_stream_writer.h"
#include "package/ss_file_locations_properties.h"

namespace ss {
namespace {

void write_ident_integer(PropertyStreamWriter& writer, std::string_view name, int32_t value,
                         IdentifierTable table) {
  if (auto identifier = find_identifier_name(table, value))
    writer.write_identifier(name, *identifier);
  else
    writer.write_integer(name, value);
}

void write_nonempty_text(PropertyStreamWriter& writer, std::string_view name,
                         std::string_view value) {
  if (!value.empty()) writer.write_text(name, value);
}

void write_font(PropertyStreamWriter& writer, const TFont& font) {
  write_ident_integer(writer, "TextFont.Charset", font.Charset, charset_identifiers());
  write_ident_integer(writer, "TextFont.Color", font.Color, color_identifiers());
  writer.write_integer("TextFont.Height", font.Height);
  writer.write_text("TextFont.Name", font.Name);
  if (font.Pitch != TFontPitch::fpDefault) {
    const auto pitch = static_cast<size_t>(font.Pitch);
    const auto names = font_pitch_names();
    if (pitch < names.size()) writer.write_identifier("TextFont.Pitch", names[pitch]);
  }
  std::vector<std::string_view> style;
  const auto style_names = font_style_names();
  for (size_t bit = 0; bit < style_names.size(); ++bit)
    if (font.Style & (1u << bit)) style.push_back(style_names[bit]);
  writer.write_set("TextFont.Style", style);
}

}  // namespace

std::vector<uint8_t> write_settings_stream(const TSSFileLocations& s) {
  PropertyStreamWriter writer(kSettingsClassName);
  write_nonempty_text(writer, "Text", s.Text);
  write_font(writer, s.TextFont);
  writer.write_boolean("lRandomStyle", s.lRandomStyle);
  writer.write_boolean("lRandomPic", s.lRandomPic);
  writer.write_boolean("lClearOldImage", s.lClearOldImage);
  writer.write_boolean("lStretch", s.lStretch);
  writer.write_integer("Interval", s.Interval);
  writer.write_integer("SoundRandom", s.SoundRandom);
  writer.write_boolean("lSoundLoop", s.lSoundLoop);
  writer.write_boolean("lMute", s.lMute);
  writer.write_boolean("lExitMouseMove", s.lExitMouseMove);
  writer.write_boolean("lExitMouseClick", s.lExitMouseClick);
  writer.write_boolean("lExitKeyPress", s.lExitKeyPress);
  writer.write_boolean("lShowMouseCursor", s.lShowMouseCursor);
  writer.write_boolean("lExitFSCommandQuit", s.lExitFSCommandQuit);
  write_nonempty_text(writer, "Title", s.Title);
  write_nonempty_text(writer, "Author", s.Author);
  write_nonempty_text(writer, "Email", s.Email);
  write_nonempty_text(writer, "Web", s.Web);
  write_nonempty_text(writer, "Ver", s.Ver);
  const std::pair<std::string_view, const CommaList*> lists[] = {
      {"EffectCommaList", &s.EffectCommaList},
      {"PicCommaList", &s.PicCommaList},
      {"PicFileNamesCommaList", &s.PicFileNamesCommaList},
      {"SndCommaList", &s.SndCommaList},
      {"SndFileNamesCommaList", &s.SndFileNamesCommaList},
      {"SndSizesCommaList", &s.SndSizesCommaList},
      {"FlashCommaList", &s.FlashCommaList},
      {"FlashFileNamesCommaList", &s.FlashFileNamesCommaList},
      {"FlashSizesCommaList", &s.FlashSizesCommaList},
      {"DescriptCommaList", &s.DescriptCommaList},
  };
  for (const auto& [name, list] : lists) write_nonempty_text(writer, name, list->comma_text());
  return writer.finish();
}

}  // namespace ss
