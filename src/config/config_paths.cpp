#include "config/config_paths.h"

#include "base/path.h"

namespace ss {

std::string executable_folder(FileSystem& files) {
  return folder_of(files.executable_path());
}

std::string settings_file_path(FileSystem& files) {
  return join_path(executable_folder(files), kSettingsFileName, files.separator());
}

std::string language_file_path(FileSystem& files) {
  return join_path(executable_folder(files), kLanguageFileName, files.separator());
}

}  // namespace ss
