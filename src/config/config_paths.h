#pragma once
// Where the two INI files live: beside the running executable, wherever the saver is installed.
#include <string>

#include "platform/files.h"

namespace ss {

inline constexpr const char* kSettingsFileName = "CONTROL.INI";
inline constexpr const char* kLanguageFileName = "ridiziv.ini";

// The executable's folder, up to and including its last separator.
std::string executable_folder(FileSystem& files);
std::string settings_file_path(FileSystem& files);
std::string language_file_path(FileSystem& files);

}  // namespace ss
