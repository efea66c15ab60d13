#pragma once
// The native file system with the temporary directory and the executable's path redirected
// to a test's folders when the configuration says so. Creating and deleting files is logged.
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
      : config_(config), log_(log), native_(native) {}

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
  std::string temp_directory() override;
  std::string executable_path() override;
  char separator() const override { return native_.separator(); }

 private:
  const HeadlessConfig& config_;
  CallLog& log_;
  FileSystem& native_;
};

}  // namespace ss
