// The Windows saver: slidesaver.scr. Windows starts it with the screen-saver switches; the
// package it shows is appended to this very file.
#include <windows.h>

#include "app/saver_entry.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"
#include "platform/core/windows_command_line.h"

namespace {

using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);

// Libraries load from the system folder only, never from the saver's folder or the current
// one. Older systems lack the call; they keep their default search.
void load_libraries_from_system_folder_only() {
  const auto set_directories = ss::entry_point<SetDefaultDllDirectoriesProc>(
      GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
  if (set_directories != nullptr) set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

int run() {
  load_libraries_from_system_folder_only();
  const std::vector<std::string> arguments = ss::arguments_after_program(GetCommandLineA());
  ss::Win32Platform platform;
  return ss::run_saver(arguments, platform);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*command_line*/,
                   int /*show*/) {
  try {
    run();
  } catch (...) {
    // The entry shows nothing of its own: whatever failed, the process just ends.
  }
  return 0;
}
