// Files on POSIX systems. There is no way to deny other writers here, so reading the executable
// relies on nobody rewriting a saver while it runs.
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/error.h"
#include "platform/files.h"

namespace ss {
namespace {

std::string system_text(int error) {
  return std::strerror(error);
}

std::string quoted_failure(const char* what, const std::string& path, int error) {
  return std::string(what) + " \"" + path + "\". " + system_text(error);
}

// The Windows code page matching the character set of the environment's locale, for the
// double-byte sets whose second bytes may be '\\'; 0 for any other (UTF-8 above all).
uint32_t code_page_of_environment() {
  const locale_t locale = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return 0;
  std::string codeset = ::nl_langinfo_l(CODESET, locale);
  ::freelocale(locale);
  for (char& c : codeset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (codeset == "SHIFT_JIS" || codeset == "SJIS" || codeset == "CP932") return 932;
  if (codeset == "GBK" || codeset == "CP936") return 936;
  if (codeset == "CP949" || codeset == "UHC") return 949;
  if (codeset == "BIG5" || codeset == "BIG5-HKSCS" || codeset == "CP950") return 950;
  return 0;
}

class FileSource final : public ByteSource {
 public:
  FileSource(int fd, int64_t size) : fd_(fd), size_(size) {}
  ~FileSource() override { ::close(fd_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  size_t read(void* buffer, size_t n) override {
    size_t done = 0;
    while (done < n) {
      const ssize_t got = ::pread(fd_, static_cast<char*>(buffer) + done, n - done, position_);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;  // end of file or a read error: the caller sees a short read
      done += static_cast<size_t>(got);
      position_ += got;
    }
    return done;
  }
  void seek(int64_t position) override { position_ = position < 0 ? 0 : position; }
  int64_t position() const override { return position_; }
  int64_t size() const override { return size_; }

 private:
  int fd_;
  int64_t size_;
  int64_t position_ = 0;
};

class PosixOutputFile final : public OutputFile {
 public:
  PosixOutputFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  void write(std::span<const uint8_t> bytes) override {
    if (fd_ < 0) throw SaverError(quoted_failure("Cannot write file", path_, EBADF));
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0)
        throw SaverError(quoted_failure("Cannot write file", path_, put < 0 ? errno : ENOSPC));
      done += static_cast<size_t>(put);
    }
  }

  void close() override {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
      throw SaverError(quoted_failure("Cannot write file", path_, errno));
  }

 private:
  int fd_;
  std::string path_;
};

class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<ByteSource> open_read_deny_write(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SaverError(quoted_failure("Cannot open file", path, errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
      ::close(fd);
      throw SaverError(quoted_failure("Cannot open file", path, error));
    }
    return std::make_unique<FileSource>(fd, static_cast<int64_t>(info.st_size));
  }

  std::optional<std::string> read_file(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    char block[8192];
    for (;;) {
      const ssize_t got = ::read(fd, block, sizeof block);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        ::close(fd);
        return std::nullopt;
      }
      if (got == 0) break;
      text.append(block, static_cast<size_t>(got));
    }
    ::close(fd);
    return text;
  }

  std::unique_ptr<OutputFile> create_file(const std::string& path) override {
    // O_NOFOLLOW: a link planted under a media name in a shared /tmp must not redirect the
    // write to one of the user's own files.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) throw SaverError(quoted_failure("Cannot create file", path, errno));
    return std::make_unique<PosixOutputFile>(fd, path);
  }

  bool replace_file(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0;
  }

  bool delete_file(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool file_exists(const std::string& path) override {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  bool create_folder(const std::string& path) override { return ::mkdir(path.c_str(), 0700) == 0; }

  std::optional<std::string> create_unique_folder(const std::string& parent) override {
    std::string pattern = parent;
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    pattern += "slidesaver-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return std::nullopt;
    return pattern + '/';
  }

  bool remove_folder(const std::string& path) override { return ::rmdir(path.c_str()) == 0; }

  std::string temp_directory() override {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp/";
    if (folder.back() != '/') folder += '/';
    return folder;
  }

  std::string user_settings_folder() override {
    std::string folder;
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    if (config_home && *config_home == '/') {
      folder = config_home;
    } else {
      const char* home = std::getenv("HOME");
      if (!home || !*home) return std::string();
      folder = std::string(home) + "/.config";
    }
    if (folder.back() != '/') folder += '/';
    return folder;
  }

  std::string executable_path() override {
    std::string path(256, '\0');
    for (;;) {
      const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
      if (length < 0) return std::string();
      if (static_cast<size_t>(length) < path.size()) {
        path.resize(static_cast<size_t>(length));
        return path;
      }
      path.resize(path.size() * 2);  // possibly cut: try again with more room
    }
  }

  char separator() const override { return '/'; }

  const LeadBytes& lead_bytes() const override {
    static const LeadBytes lead = LeadBytes::of_code_page(code_page_of_environment());
    return lead;
  }
};

}  // namespace

FileSystem& native_file_system() {
  static PosixFileSystem files;
  return files;
}

}  // namespace ss
