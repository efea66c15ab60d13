#include "config/config_paths.h"

#include "base/path.h"

namespace ss {

std::string executable_folder(FileSystem& files) {
  return folder_of(files.executable_path(), files.lead_bytes());
}

std::string settings_file_path(FileSystem& files) {
  return join_path(executable_folder(files), kSettingsFileName, files.separator(),
                   files.lead_bytes());
}

std::string language_file_path(FileSystem& files) {
  return join_path(executable_folder(files), kLanguageFileName, files.separator(),
                   files.lead_bytes());
}

UserSettingsLocation user_settings_location(FileSystem& files) {
  const std::string user = files.user_settings_folder();
  const std::string saver = file_name_of(files.executable_path(), files.lead_bytes());
  if (user.empty() || saver.empty()) return {};
  const char separator = files.separator();
  const LeadBytes& lead = files.lead_bytes();
  UserSettingsLocation location;
  location.program_folder = join_path(user, kUserSettingsFolderName, separator, lead);
  location.saver_folder = join_path(location.program_folder, saver, separator, lead);
  location.file = join_path(location.saver_folder, kSettingsFileName, separator, lead);
  return location;
}

}  // namespace ss
