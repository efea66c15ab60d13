#include "config/mute_setting.h"

#include "config/ini_file.h"

namespace ss {
namespace {

constexpr const char* kSection = "Setup";
constexpr const char* kKey = "mute";

}  // namespace

bool read_mute_setting(FileSystem& files, const std::string& settings_path, bool fallback) {
  return IniFile(files, settings_path).read_integer(kSection, kKey, fallback ? 1 : 0) != 0;
}

void write_mute_setting(FileSystem& files, const std::string& settings_path, bool muted) {
  IniFile(files, settings_path).write_string(kSection, kKey, muted ? "1" : "0");
}

}  // namespace ss
