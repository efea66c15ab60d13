#include "platform/win32/system_library.h"

namespace ss {

std::string system_library_path(const char* file_name) {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  std::string path(buffer, length <= MAX_PATH ? length : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + file_name;
}

SystemLibrary::SystemLibrary(const char* file_name)
    : module_(LoadLibraryA(system_library_path(file_name).c_str())) {}

SystemLibrary::~SystemLibrary() {
  if (module_ != nullptr) FreeLibrary(module_);
}

}  // namespace ss
