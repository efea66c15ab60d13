#include "platform/headless/headless_files.h"

namespace ss {

std::unique_ptr<OutputFile> HeadlessFiles::create_file(const std::string& path) {
  log_.add("file.create " + path);
  return native_.create_file(path);
}

bool HeadlessFiles::delete_file(const std::string& path) {
  const bool deleted = native_.delete_file(path);
  log_.add("file.delete " + path + (deleted ? " -> ok" : " -> failed"));
  return deleted;
}

std::string HeadlessFiles::temp_directory() {
  if (!config_.temp_directory) return native_.temp_directory();
  // Like the system's answer, the folder ends with a separator.
  std::string folder = *config_.temp_directory;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
    folder += native_.separator();
  return folder;
}

std::string HeadlessFiles::executable_path() {
  return config_.executable_path ? *config_.executable_path : native_.executable_path();
}

}  // namespace ss
