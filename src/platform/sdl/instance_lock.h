#pragma once
// The instance guard between processes of one saver file on Linux: an exclusive advisory lock
// (flock) on a file named after the guard, in $XDG_RUNTIME_DIR or else in /tmp with the user's
// id in the name. The lock goes with the process, so a crashed saver never leaves it taken.
#include <string>

#include "platform/desktop.h"

namespace ss {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() { release(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // kFailed when the lock file cannot be opened (the saver then runs unguarded).
  InstanceGuardResult acquire(const std::string& name);
  void release();

  // Where the lock for a guard name lives: a name made safe as one file name.
  static std::string lock_path(const std::string& name);

 private:
  int fd_ = -1;
};

}  // namespace ss
