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

bool HeadlessFiles::create_folder(const std::string& path) {
  const bool created = native_.create_folder(path);
  log_.add("folder.create " + path + (created ? " -> ok" : " -> failed"));
  return created;
}

std::optional<std::string> HeadlessFiles::create_unique_folder(const std::string& parent) {
  std::optional<std::string> folder = native_.create_unique_folder(parent);
  log_.add("folder.create_unique " + parent + " -> " + folder.value_or("failed"));
  return folder;
}

bool HeadlessFiles::remove_folder(const std::string& path) {
  const bool removed = native_.remove_folder(path);
  log_.add("folder.remove " + path + (removed ? " -> ok" : " -> failed"));
  return removed;
}

namespace {

// Like the system's answers, a redirected folder ends with a separator.
std::string with_separator(std::string folder, char separator) {
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += separator;
  return folder;
}

}  // namespace

std::string HeadlessFiles::user_settings_folder() {
  // Never the real user's folder: a test that wants one names its own.
  if (!config_.user_settings_folder) return std::string();
  return with_separator(*config_.user_settings_folder, native_.separator());
}

std::string HeadlessFiles::temp_directory() {
  if (!config_.temp_directory) return native_.temp_directory();
  return with_separator(*config_.temp_directory, native_.separator());
}

std::string HeadlessFiles::executable_path() {
  return config_.executable_path ? *config_.executable_path : native_.executable_path();
}

}  // namespace ss
