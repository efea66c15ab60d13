// Files on POSIX systems. There is no way to deny other writers here, so reading the executable
// relies on nobody rewriting a saver while it runs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

  std::string temp_directory() override {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp/";
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
};

}  // namespace

FileSystem& native_file_system() {
  static PosixFileSystem files;
  return files;
}

}  // namespace ss
