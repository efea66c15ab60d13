#include "settings_json.h"

#include <array>
#include <limits>
#include <stdexcept>
#include <string>

#include "package/identifier_tables.h"

namespace slidemake {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;
using ss::TSSFileLocations;

constexpr std::array<std::string_view, 4> kStyleNames = {"fsBold", "fsItalic", "fsUnderline",
                                                         "fsStrikeOut"};
constexpr std::array<std::string_view, 3> kPitchNames = {"fpDefault", "fpVariable", "fpFixed"};

[[noreturn]] void fail(const std::string& where, const std::string& what) {
  throw std::runtime_error("settings." + where + ": " + what);
}

bool as_bool(const json& v, const std::string& where) {
  if (!v.is_boolean()) fail(where, "expected true or false");
  return v.get<bool>();
}

int32_t as_int(const json& v, const std::string& where) {
  if (!v.is_number_integer()) fail(where, "expected an integer");
  const auto n = v.get<int64_t>();
  if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
    fail(where, "out of the 32-bit range");
  return static_cast<int32_t>(n);
}

std::string as_text(const json& v, const std::string& where) {
  if (!v.is_string()) fail(where, "expected a string");
  return v.get<std::string>();
}

// An identifier from the table, or a plain integer.
int32_t as_identified(const json& v, ss::IdentifierTable table, const std::string& where) {
  if (v.is_string()) {
    if (auto value = ss::find_identifier_value(table, v.get<std::string>())) return *value;
    fail(where, "unknown identifier \"" + v.get<std::string>() + "\"");
  }
  return as_int(v, where);
}

void apply_font(const json& font, ss::TFont& f) {
  if (!font.is_object()) fail("TextFont", "expected an object");
  for (const auto& [key, v] : font.items()) {
    const std::string where = "TextFont." + key;
    if (key == "Name") {
      f.Name = as_text(v, where);
    } else if (key == "Height") {
      f.Height = as_int(v, where);
    } else if (key == "Size") {
      f.SetSize(as_int(v, where));
    } else if (key == "Color") {
      f.Color = as_identified(v, ss::color_identifiers(), where);
    } else if (key == "Charset") {
      f.Charset = as_identified(v, ss::charset_identifiers(), where);
    } else if (key == "Style") {
      if (!v.is_array())
        fail(where, "expected an array of fsBold, fsItalic, fsUnderline, fsStrikeOut");
      f.Style = 0;
      for (const json& name : v) {
        size_t bit = 0;
        while (bit < kStyleNames.size() &&
               !(name.is_string() && name.get<std::string>() == kStyleNames[bit]))
          ++bit;
        if (bit == kStyleNames.size()) fail(where, "unknown style " + name.dump());
        f.Style |= static_cast<uint8_t>(1u << bit);
      }
    } else if (key == "Pitch") {
      const std::string name = as_text(v, where);
      size_t i = 0;
      while (i < kPitchNames.size() && name != kPitchNames[i]) ++i;
      if (i == kPitchNames.size()) fail(where, "expected fpDefault, fpVariable or fpFixed");
      f.Pitch = static_cast<ss::TFontPitch>(i);
    } else {
      fail(where, "unknown font property");
    }
  }
}

void apply_effects(const json& v, TSSFileLocations& r) {
  if (!v.is_array()) fail("EffectCommaList", "expected an array of style numbers");
  r.EffectCommaList.items().clear();
  for (size_t i = 0; i < v.size(); ++i) {
    const std::string where = "EffectCommaList[" + std::to_string(i) + "]";
    const int32_t style = as_int(v[i], where);
    if (style < 0 || style > 127) fail(where, "a style number is 0 to 127");
    r.EffectCommaList.items().push_back(std::to_string(style));
  }
}

bool is_location_list(const std::string& key) {
  return key == "PicCommaList" || key == "PicFileNamesCommaList" || key == "SndCommaList" ||
         key == "SndFileNamesCommaList" || key == "SndSizesCommaList" || key == "FlashCommaList" ||
         key == "FlashFileNamesCommaList" || key == "FlashSizesCommaList" ||
         key == "DescriptCommaList";
}

ordered_json list_json(const ss::CommaList& list) {
  return ordered_json(list.items());
}

}  // namespace

void apply_settings_json(const json& settings, TSSFileLocations& r) {
  if (!settings.is_object()) throw std::runtime_error("settings: expected an object");
  for (const auto& [key, v] : settings.items()) {
    if (key == "Text")
      r.Text = as_text(v, key);
    else if (key == "TextFont")
      apply_font(v, r.TextFont);
    else if (key == "lRandomStyle")
      r.lRandomStyle = as_bool(v, key);
    else if (key == "lRandomPic")
      r.lRandomPic = as_bool(v, key);
    else if (key == "lClearOldImage")
      r.lClearOldImage = as_bool(v, key);
    else if (key == "lStretch")
      r.lStretch = as_bool(v, key);
    else if (key == "Interval")
      r.Interval = as_int(v, key);
    else if (key == "SoundRandom")
      r.SoundRandom = as_int(v, key);
    else if (key == "lSoundLoop")
      r.lSoundLoop = as_bool(v, key);
    else if (key == "lMute")
      r.lMute = as_bool(v, key);
    else if (key == "lExitMouseMove")
      r.lExitMouseMove = as_bool(v, key);
    else if (key == "lExitMouseClick")
      r.lExitMouseClick = as_bool(v, key);
    else if (key == "lExitKeyPress")
      r.lExitKeyPress = as_bool(v, key);
    else if (key == "lShowMouseCursor")
      r.lShowMouseCursor = as_bool(v, key);
    else if (key == "lExitFSCommandQuit")
      r.lExitFSCommandQuit = as_bool(v, key);
    else if (key == "Title")
      r.Title = as_text(v, key);
    else if (key == "Author")
      r.Author = as_text(v, key);
    else if (key == "Email")
      r.Email = as_text(v, key);
    else if (key == "Web")
      r.Web = as_text(v, key);
    else if (key == "Ver")
      r.Ver = as_text(v, key);
    else if (key == "EffectCommaList")
      apply_effects(v, r);
    else if (is_location_list(key))
      fail(key, "is computed from the pictures, music and movies; remove it from the manifest");
    else
      fail(key, "unknown setting");
  }
}

ordered_json settings_to_json(const TSSFileLocations& r) {
  ordered_json style = ordered_json::array();
  for (size_t bit = 0; bit < kStyleNames.size(); ++bit)
    if (r.TextFont.Style & (1u << bit)) style.push_back(kStyleNames[bit]);
  ordered_json j;
  j["Text"] = r.Text;
  j["TextFont"] = {{"Name", r.TextFont.Name},
                   {"Height", r.TextFont.Height},
                   {"Color", r.TextFont.Color},
                   {"Charset", r.TextFont.Charset},
                   {"Style", style},
                   {"Pitch", kPitchNames[static_cast<size_t>(r.TextFont.Pitch)]}};
  j["lRandomStyle"] = r.lRandomStyle;
  j["lRandomPic"] = r.lRandomPic;
  j["lClearOldImage"] = r.lClearOldImage;
  j["lStretch"] = r.lStretch;
  j["Interval"] = r.Interval;
  j["SoundRandom"] = r.SoundRandom;
  j["lSoundLoop"] = r.lSoundLoop;
  j["lMute"] = r.lMute;
  j["lExitMouseMove"] = r.lExitMouseMove;
  j["lExitMouseClick"] = r.lExitMouseClick;
  j["lExitKeyPress"] = r.lExitKeyPress;
  j["lShowMouseCursor"] = r.lShowMouseCursor;
  j["lExitFSCommandQuit"] = r.lExitFSCommandQuit;
  j["Title"] = r.Title;
  j["Author"] = r.Author;
  j["Email"] = r.Email;
  j["Web"] = r.Web;
  j["Ver"] = r.Ver;
  j["EffectCommaList"] = list_json(r.EffectCommaList);
  j["PicCommaList"] = list_json(r.PicCommaList);
  j["PicFileNamesCommaList"] = list_json(r.PicFileNamesCommaList);
  j["SndCommaList"] = list_json(r.SndCommaList);
  j["SndFileNamesCommaList"] = list_json(r.SndFileNamesCommaList);
  j["SndSizesCommaList"] = list_json(r.SndSizesCommaList);
  j["FlashCommaList"] = list_json(r.FlashCommaList);
  j["FlashFileNamesCommaList"] = list_json(r.FlashFileNamesCommaList);
  j["FlashSizesCommaList"] = list_json(r.FlashSizesCommaList);
  j["DescriptCommaList"] = list_json(r.DescriptCommaList);
  return j;
}

}  // namespace slidemake
