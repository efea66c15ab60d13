#include "package/ss_file_locations_properties.h"

#include "package/identifier_tables.h"

namespace ss {
namespace {

using Entry = PropertyEntry<TSSFileLocations>;
using R = TSSFileLocations;

constexpr std::string_view kPitchNames[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr std::string_view kStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

template <auto Member>
constexpr auto member = &store_member<R, Member>;

constexpr PropertyDecl integer(std::string_view name) {
  return {name, PropertyType::Integer};
}
constexpr PropertyDecl boolean(std::string_view name) {
  return {name, PropertyType::Boolean};
}
constexpr PropertyDecl text(std::string_view name) {
  return {name, PropertyType::Text};
}

void store_charset(R& r, PropertyValue&& v) {
  r.TextFont.Charset = std::get<int32_t>(v);
}
void store_color(R& r, PropertyValue&& v) {
  r.TextFont.Color = std::get<int32_t>(v);
}
void store_height(R& r, PropertyValue&& v) {
  r.TextFont.Height = std::get<int32_t>(v);
}
void store_name(R& r, PropertyValue&& v) {
  r.TextFont.Name = std::get<std::string>(std::move(v));
}
void store_pitch(R& r, PropertyValue&& v) {
  r.TextFont.Pitch = static_cast<TFontPitch>(std::get<int32_t>(v));
}
void store_size(R& r, PropertyValue&& v) {
  r.TextFont.SetSize(std::get<int32_t>(v));
}
void store_style(R& r, PropertyValue&& v) {
  r.TextFont.Style = static_cast<uint8_t>(std::get<uint32_t>(v));
}

}  // namespace

std::span<const std::string_view> font_pitch_names() {
  return kPitchNames;
}
std::span<const std::string_view> font_style_names() {
  return kStyleNames;
}

std::span<const Entry> settings_properties() {
  static const Entry table[] = {
      {text("Text"), member<&R::Text>},
      {{"TextFont.Charset", PropertyType::IdentInteger, charset_identifiers()}, store_charset},
      {{"TextFont.Color", PropertyType::IdentInteger, color_identifiers()}, store_color},
      {integer("TextFont.Height"), store_height},
      {text("TextFont.Name"), store_name},
      {{"TextFont.Pitch", PropertyType::Enumeration, {}, kPitchNames}, store_pitch},
      {integer("TextFont.Size"), store_size},
      {{"TextFont.Style", PropertyType::Set, {}, kStyleNames}, store_style},
      {boolean("lRandomStyle"), member<&R::lRandomStyle>},
      {boolean("lRandomPic"), member<&R::lRandomPic>},
      {boolean("lClearOldImage"), member<&R::lClearOldImage>},
      {boolean("lStretch"), member<&R::lStretch>},
      {integer("Interval"), member<&R::Interval>},
      {integer("SoundRandom"), member<&R::SoundRandom>},
      {boolean("lSoundLoop"), member<&R::lSoundLoop>},
      {boolean("lMute"), member<&R::lMute>},
      {boolean("lExitMouseMove"), member<&R::lExitMouseMove>},
      {boolean("lExitMouseClick"), member<&R::lExitMouseClick>},
      {boolean("lExitKeyPress"), member<&R::lExitKeyPress>},
      {boolean("lShowMouseCursor"), member<&R::lShowMouseCursor>},
      {boolean("lExitFSCommandQuit"), member<&R::lExitFSCommandQuit>},
      {text("Title"), member<&R::Title>},
      {text("Author"), member<&R::Author>},
      {text("Email"), member<&R::Email>},
      {text("Web"), member<&R::Web>},
      {text("Ver"), member<&R::Ver>},
      {text("EffectCommaList"), member<&R::EffectCommaList>},
      {text("PicCommaList"), member<&R::PicCommaList>},
      {text("PicFileNamesCommaList"), member<&R::PicFileNamesCommaList>},
      {text("SndCommaList"), member<&R::SndCommaList>},
      {text("SndFileNamesCommaList"), member<&R::SndFileNamesCommaList>},
      {text("SndSizesCommaList"), member<&R::SndSizesCommaList>},
      {text("FlashCommaList"), member<&R::FlashCommaList>},
      {text("FlashFileNamesCommaList"), member<&R::FlashFileNamesCommaList>},
      {text("FlashSizesCommaList"), member<&R::FlashSizesCommaList>},
      {text("DescriptCommaList"), member<&R::DescriptCommaList>},
  };
  return table;
}

}  // namespace ss
