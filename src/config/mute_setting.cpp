#include "config/mute_setting.h"

#include <cstdint>
#include <span>

#include "base/error.h"
#include "config/config_paths.h"
#include "config/ini_file.h"

namespace ss {
namespace {

constexpr const char* kSection = "Setup";
constexpr const char* kKey = "mute";

// A first copy of the user's file starts as the file beside the saver, so that its other
// sections carry over.
void start_user_copy(FileSystem& files, const UserSettingsLocation& user,
                     const std::string& beside) {
  files.create_folder(user.program_folder);
  files.create_folder(user.saver_folder);
  if (files.file_exists(user.file)) return;
  const std::optional<std::string> text = files.read_file(beside);
  if (!text) return;
  const std::unique_ptr<OutputFile> out = files.create_file(user.file);
  out->write(std::span(reinterpret_cast<const uint8_t*>(text->data()), text->size()));
  out->close();
}

bool write_user_copy(FileSystem& files, const UserSettingsLocation& user, const std::string& beside,
                     bool muted) {
  if (user.file.empty()) return false;
  try {
    start_user_copy(files, user, beside);
    write_mute_setting(files, user.file, muted);
    return true;
  } catch (const SaverError&) {
    return false;
  }
}

}  // namespace

bool read_mute_setting(FileSystem& files, const std::string& settings_path, bool fallback) {
  return IniFile(files, settings_path).read_integer(kSection, kKey, fallback ? 1 : 0) != 0;
}

void write_mute_setting(FileSystem& files, const std::string& settings_path, bool muted) {
  IniFile(files, settings_path).write_string(kSection, kKey, muted ? "1" : "0");
}

bool read_saver_mute_setting(FileSystem& files, bool fallback) {
  const std::string user = user_settings_location(files).file;
  const bool use_user = !user.empty() && files.file_exists(user);
  return read_mute_setting(files, use_user ? user : settings_file_path(files), fallback);
}

void write_saver_mute_setting(FileSystem& files, bool muted) {
  const std::string beside = settings_file_path(files);
  const UserSettingsLocation user = user_settings_location(files);
  try {
    write_mute_setting(files, beside, muted);
  } catch (const SaverError&) {
    if (!write_user_copy(files, user, beside, muted)) throw;
    return;
  }
  // A copy left by an earlier refused write would hide this one from the next read.
  if (!user.file.empty() && files.file_exists(user.file) &&
      !write_user_copy(files, user, beside, muted) && files.file_exists(user.file))
    files.delete_file(user.file);
}

}  // namespace ss
