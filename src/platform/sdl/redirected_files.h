#pragma once
// The native file system with the executable's path and the temporary directory pointed
// elsewhere when asked: a test runs a saver file as if it were the running program.
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"

namespace ss {

class RedirectedFiles final : public FileSystem {
 public:
  RedirectedFiles(FileSystem& native, std::optional<std::string> executable_path,
                  std::optional<std::string> temp_directory)
      : native_(native),
        executable_path_(std::move(executable_path)),
        temp_directory_(std::move(temp_directory)) {}

  std::unique_ptr<ByteSource> open_read_deny_write(const std::string& path) override {
    return native_.open_read_deny_write(path);
  }
  std::optional<std::string> read_file(const std::string& path) override {
    return native_.read_file(path);
  }
  std::unique_ptr<OutputFile> create_file(const std::string& path) override {
    return native_.create_file(path);
  }
  bool replace_file(const std::string& from, const std::string& to) override {
    return native_.replace_file(from, to);
  }
  bool delete_file(const std::string& path) override { return native_.delete_file(path); }
  bool file_exists(const std::string& path) override { return native_.file_exists(path); }
  bool create_folder(const std::string& path) override { return native_.create_folder(path); }
  std::optional<std::string> create_unique_folder(const std::string& parent) override {
    return native_.create_unique_folder(parent);
  }
  bool remove_folder(const std::string& path) override { return native_.remove_folder(path); }
  std::string user_settings_folder() override { return native_.user_settings_folder(); }
  std::string temp_directory() override {
    if (!temp_directory_) return native_.temp_directory();
    std::string folder = *temp_directory_;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
  }
  std::string executable_path() override {
    return executable_path_ ? *executable_path_ : native_.executable_path();
  }
  char separator() const override { return native_.separator(); }
  const LeadBytes& lead_bytes() const override { return native_.lead_bytes(); }

 private:
  FileSystem& native_;
  std::optional<std::string> executable_path_;
  std::optional<std::string> temp_directory_;
};

}  // namespace ss
