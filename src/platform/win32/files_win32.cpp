// Files on Windows, through the ANSI kernel calls, so paths are in the system's code page.
#include <windows.h>

#include <string>

#include "base/error.h"
#include "platform/files.h"

namespace ss {
namespace {

// The system's text for an error code, without the trailing line break and full stop, so that
// it reads well after the message that quotes it.
std::string system_text(DWORD error) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.'))
    text.pop_back();
  if (text.empty()) text = "Error " + std::to_string(error);
  return text;
}

std::string quoted_failure(const char* what, const std::string& path, DWORD error) {
  return std::string(what) + " \"" + path + "\". " + system_text(error);
}

class HandleSource final : public ByteSource {
 public:
  HandleSource(HANDLE handle, int64_t size) : handle_(handle), size_(size) {}
  ~HandleSource() override { CloseHandle(handle_); }
  HandleSource(const HandleSource&) = delete;
  HandleSource& operator=(const HandleSource&) = delete;

  size_t read(void* buffer, size_t n) override {
    LARGE_INTEGER to;
    to.QuadPart = position_;
    if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN)) return 0;
    size_t done = 0;
    while (done < n) {
      const DWORD want = static_cast<DWORD>(n - done > 0x40000000 ? 0x40000000 : n - done);
      DWORD got = 0;
      if (!ReadFile(handle_, static_cast<char*>(buffer) + done, want, &got, nullptr) || got == 0)
        break;  // end of file or a read error: the caller sees a short read
      done += got;
    }
    position_ += static_cast<int64_t>(done);
    return done;
  }
  void seek(int64_t position) override { position_ = position < 0 ? 0 : position; }
  int64_t position() const override { return position_; }
  int64_t size() const override { return size_; }

 private:
  HANDLE handle_;
  int64_t size_;
  int64_t position_ = 0;
};

class HandleOutputFile final : public OutputFile {
 public:
  HandleOutputFile(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  ~HandleOutputFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HandleOutputFile(const HandleOutputFile&) = delete;
  HandleOutputFile& operator=(const HandleOutputFile&) = delete;

  void write(std::span<const uint8_t> bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      const size_t left = bytes.size() - done;
      const DWORD want = static_cast<DWORD>(left > 0x40000000 ? 0x40000000 : left);
      DWORD put = 0;
      if (handle_ == INVALID_HANDLE_VALUE)
        throw SaverError(quoted_failure("Cannot write file", path_, ERROR_INVALID_HANDLE));
      if (!WriteFile(handle_, bytes.data() + done, want, &put, nullptr))
        throw SaverError(quoted_failure("Cannot write file", path_, GetLastError()));
      if (put == 0) throw SaverError(quoted_failure("Cannot write file", path_, ERROR_DISK_FULL));
      done += put;
    }
  }

  void close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle))
      throw SaverError(quoted_failure("Cannot write file", path_, GetLastError()));
  }

 private:
  HANDLE handle_;
  std::string path_;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<ByteSource> open_read_deny_write(const std::string& path) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      throw SaverError(quoted_failure("Cannot open file", path, GetLastError()));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
      const DWORD error = GetLastError();
      CloseHandle(handle);
      throw SaverError(quoted_failure("Cannot open file", path, error));
    }
    return std::make_unique<HandleSource>(handle, size.QuadPart);
  }

  std::optional<std::string> read_file(const std::string& path) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char block[8192];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(handle, block, sizeof block, &got, nullptr)) {
        CloseHandle(handle);
        return std::nullopt;
      }
      if (got == 0) break;
      text.append(block, got);
    }
    CloseHandle(handle);
    return text;
  }

  std::unique_ptr<OutputFile> create_file(const std::string& path) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      throw SaverError(quoted_failure("Cannot create file", path, GetLastError()));
    return std::make_unique<HandleOutputFile>(handle, path);
  }

  bool replace_file(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  bool delete_file(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  bool file_exists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool create_folder(const std::string& path) override {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
  }

  std::optional<std::string> create_unique_folder(const std::string& parent) override {
    // The process id keeps apart savers that start at the same moment; the counter passes over
    // names left behind by a process of the same id that ended without removing its folder.
    std::string base = parent;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    base += "slidesaver-" + std::to_string(GetCurrentProcessId()) + "-";
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
      const std::string path = base + std::to_string(attempt);
      if (CreateDirectoryA(path.c_str(), nullptr)) return path + '\\';
      if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
    }
    return std::nullopt;
  }

  bool remove_folder(const std::string& path) override {
    return RemoveDirectoryA(path.c_str()) != 0;
  }

  std::string temp_directory() override {
    // The usual 255-character buffer first; a longer path reports the size it needs, so ask
    // again with that much room rather than use a cut one.
    std::string folder(255, '\0');
    DWORD length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
    if (length > folder.size()) {
      folder.assign(length, '\0');
      length = GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
    }
    if (length == 0 || length > folder.size())
      throw SaverError("Cannot find the temporary directory. " + system_text(GetLastError()));
    folder.resize(length);
    return folder;
  }

  std::string user_settings_folder() override {
    // The environment's answer, as the system's own programs see it; a standard user can
    // always write there.
    std::string folder(MAX_PATH, '\0');
    DWORD length =
        GetEnvironmentVariableA("APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
    if (length >= folder.size()) {
      folder.assign(length, '\0');
      length = GetEnvironmentVariableA("APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
    }
    if (length == 0 || length >= folder.size()) return std::string();
    folder.resize(length);
    if (folder.back() != '\\') folder += '\\';
    return folder;
  }

  std::string executable_path() override {
    std::string path(MAX_PATH, '\0');
    for (;;) {
      const DWORD length =
          GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length == 0) return std::string();
      if (length < path.size()) {
        path.resize(length);
        return path;
      }
      path.resize(path.size() * 2);  // cut at the buffer's end: try again with more room
    }
  }

  char separator() const override { return '\\'; }

  const LeadBytes& lead_bytes() const override {
    static const LeadBytes lead =
        LeadBytes::where([](uint8_t byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != 0; });
    return lead;
  }
};

}  // namespace

FileSystem& native_file_system() {
  static Win32FileSystem files;
  return files;
}

}  // namespace ss
