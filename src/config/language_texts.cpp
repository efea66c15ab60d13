#include "config/language_texts.h"

#include <array>

#include "config/ini_file.h"

namespace ss {
namespace {

struct LanguageEntry {
  std::string_view key;
  std::string_view default_text;
};

// In the order of LanguageText.
constexpr std::array<LanguageEntry, 7> kLanguageTable = {{
    {"Title", "Title:"},
    {"Author", "Author:"},
    {"Email", "Email:"},
    {"Web", "Web address:"},
    {"btnOK", "OK"},
    {"MuteMusic", "Mute music"},
    {"DownloadSWF", "Please install the Macromedia Flash Player ActiveX control."},
}};

const LanguageEntry& entry_of(LanguageText text) {
  return kLanguageTable.at(static_cast<size_t>(text));
}

}  // namespace

std::string_view language_key(LanguageText text) {
  return entry_of(text).key;
}

std::string_view language_default(LanguageText text) {
  return entry_of(text).default_text;
}

std::string read_language_text(FileSystem& files, const std::string& language_path,
                               LanguageText text) {
  const LanguageEntry& entry = entry_of(text);
  std::string value =
      IniFile(files, language_path).read_string("Language", entry.key, entry.default_text);
  if (value.size() > kMaxLanguageText) value.resize(kMaxLanguageText);
  return value;
}

}  // namespace ss
