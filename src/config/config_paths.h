#pragma once
// Where the two INI files live: beside the running executable, wherever the saver is installed.
// Where that folder cannot be written (a saver in the Windows folder, run by a standard user),
// the settings file has a second home in the user's own settings folder.
#include <string>

#include "platform/files.h"

namespace ss {

inline constexpr const char* kSettingsFileName = "CONTROL.INI";
inline constexpr const char* kLanguageFileName = "ridiziv.ini";
// The folder of this program's own in the user's settings folder.
inline constexpr const char* kUserSettingsFolderName = "slidesaver";

// The executable's folder, up to and including its last separator.
std::string executable_folder(FileSystem& files);
std::string settings_file_path(FileSystem& files);
std::string language_file_path(FileSystem& files);

// The folders of the user's copy of the settings file, outermost first: the program's folder
// and the saver's own folder in it, named after the saver's file name so that savers kept in
// different places under the same name share it. Empty when the system has no user folder.
struct UserSettingsLocation {
  std::string program_folder;
  std::string saver_folder;
  std::string file;
};
UserSettingsLocation user_settings_location(FileSystem& files);

}  // namespace ss
