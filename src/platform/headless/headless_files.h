#pragma once
// The native file system with the temporary directory, the user's settings folder and the
// executable's path redirected to a test's folders when the configuration says so. Creating and
// deleting files and folders is logged.
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_config.h"

namespace ss {

class HeadlessFiles final : public FileSystem {
 public:
  HeadlessFiles(const HeadlessConfig& config, CallLog& log, FileSystem& native)
      : config_(config),
        log_(log),
        native_(native),
        lead_bytes_(config.code_page ? LeadBytes::of_code_page(*config.code_page)
                                     : native.lead_bytes()) {}

  std::unique_ptr<ByteSource> open_read_deny_write(const std::string& path) override {
    return native_.open_read_deny_write(path);
  }
  std::optional<std::string> read_file(const std::string& path) override {
    return native_.read_file(path);
  }
  std::unique_ptr<OutputFile> create_file(const std::string& path) override;
  bool replace_file(const std::string& from, const std::string& to) override {
    return native_.replace_file(from, to);
  }
  bool delete_file(const std::string& path) override;
  bool file_exists(const std::string& path) override { return native_.file_exists(path); }
  bool create_folder(const std::string& path) override;
  std::optional<std::string> create_unique_folder(const std::string& parent) override;
  bool remove_folder(const std::string& path) override;
  std::string temp_directory() override;
  std::string user_settings_folder() override;
  std::string executable_path() override;
  char separator() const override { return native_.separator(); }
  const LeadBytes& lead_bytes() const override { return lead_bytes_; }

 private:
  const HeadlessConfig& config_;
  CallLog& log_;
  FileSystem& native_;
  LeadBytes lead_bytes_;
};

}  // namespace ss
