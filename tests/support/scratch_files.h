#pragma once
// Test helpers: a scratch folder removed afterwards, and the real file system with the temporary
// directory, separator and failures a test chooses.
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "base/error.h"
#include "platform/files.h"

namespace ss {

struct ScratchFolder {
  std::filesystem::path root = std::filesystem::temp_directory_path() /
                               ("ss-test-" + std::to_string(std::random_device{}()));
  ScratchFolder() { std::filesystem::create_directories(root); }
  ~ScratchFolder() { std::filesystem::remove_all(root); }

  std::string path(const std::string& name) const { return (root / name).string(); }
  static std::string read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void write(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  static size_t count(const std::filesystem::path& folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }
};

class ScratchFiles : public FileSystem {
 public:
  explicit ScratchFiles(std::string temp = {}, char separator = '/')
      : temp_(std::move(temp)), separator_(separator) {}

  // Hooks: refuse to create a path (file or folder), fail reading, or wrap a created file (to make
  // writes fail).
  std::function<bool(const std::string&)> refuse_create = [](const std::string&) { return false; };
  bool refuse_reads = false;
  std::function<std::unique_ptr<OutputFile>(std::unique_ptr<OutputFile>, const std::string&)>
      wrap_created = [](std::unique_ptr<OutputFile> file, const std::string&) { return file; };
  std::string executable = native_file_system().executable_path();
  std::string user_folder;
  LeadBytes lead;

  std::unique_ptr<ByteSource> open_read_deny_write(const std::string& p) override {
    return real_.open_read_deny_write(p);
  }
  std::optional<std::string> read_file(const std::string& p) override {
    return refuse_reads ? std::nullopt : real_.read_file(p);
  }
  std::unique_ptr<OutputFile> create_file(const std::string& p) override {
    if (refuse_create(p)) throw SaverError("Cannot create file \"" + p + "\". Refused");
    return wrap_created(real_.create_file(p), p);
  }
  bool replace_file(const std::string& a, const std::string& b) override {
    return real_.replace_file(a, b);
  }
  bool delete_file(const std::string& p) override { return real_.delete_file(p); }
  bool file_exists(const std::string& p) override { return real_.file_exists(p); }
  bool create_folder(const std::string& p) override {
    return !refuse_create(p) && real_.create_folder(p);
  }
  std::optional<std::string> create_unique_folder(const std::string& parent) override {
    if (refuse_create(parent)) return std::nullopt;
    std::optional<std::string> folder = real_.create_unique_folder(parent);
    // The real system ends the name with its own separator; a test's separator replaces it.
    if (folder) folder->back() = separator_;
    return folder;
  }
  bool remove_folder(const std::string& p) override { return real_.remove_folder(p); }
  std::string temp_directory() override { return temp_; }
  std::string user_settings_folder() override { return user_folder; }
  std::string executable_path() override { return executable; }
  char separator() const override { return separator_; }
  const LeadBytes& lead_bytes() const override { return lead; }

 private:
  FileSystem& real_ = native_file_system();
  std::string temp_;
  char separator_;
};

}  // namespace ss
