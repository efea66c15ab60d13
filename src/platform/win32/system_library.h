#pragma once
// Entry points of optional system components, loaded by their full path in the system folder so
// that a file of the same name beside the saver is never picked up instead.
#include <windows.h>

#include <string>

namespace ss {

// The system folder joined with file_name: a backslash goes between them unless the folder
// already ends with one.
std::string system_library_path(const char* file_name);

// GetProcAddress gives a pointer of no particular type; going through void* keeps the cast to
// the real type free of warnings. nullptr when the module or the entry point is missing.
template <typename FunctionPointer>
FunctionPointer entry_point(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  const FARPROC entry = GetProcAddress(module, name);
  return reinterpret_cast<FunctionPointer>(reinterpret_cast<void*>(entry));
}

// A system library loaded by its full path, freed when this goes out of scope.
class SystemLibrary {
 public:
  explicit SystemLibrary(const char* file_name);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  bool loaded() const { return module_ != nullptr; }
  template <typename FunctionPointer>
  FunctionPointer function(const char* name) const {
    return entry_point<FunctionPointer>(module_, name);
  }

 private:
  HMODULE module_;
};

}  // namespace ss
