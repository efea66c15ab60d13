#include "platform/sdl/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace ss {

std::string InstanceLock::lock_path(const std::string& name) {
  std::string file;
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    file += plain ? c : '_';
  }
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  if (runtime_dir != nullptr && runtime_dir[0] == '/') {
    return std::string(runtime_dir) + "/slidesaver-" + file + ".lock";
  }
  return "/tmp/slidesaver-" + std::to_string(::getuid()) + "-" + file + ".lock";
}

InstanceGuardResult InstanceLock::acquire(const std::string& name) {
  release();
  const std::string path = lock_path(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return InstanceGuardResult::kFailed;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? InstanceGuardResult::kAlreadyRunning
                                : InstanceGuardResult::kFailed;
  }
  fd_ = fd;
  return InstanceGuardResult::kCreated;
}

void InstanceLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace ss
