// The system's screen-saver switches and password dialogs.
#include <cstring>
#include <string>

#include "base/error.h"
#include "base/text.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_desktop.h"

namespace ss {
namespace {

constexpr UINT kSetScreenSaverRunning = 97;

using VerifyScreenSavePwdProc = BOOL(WINAPI*)(HWND);
using PwdChangePasswordAProc = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

class RegistryKey {
 public:
  RegistryKey(HKEY parent, const char* path) {
    if (RegOpenKeyExA(parent, path, 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  bool open() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The value as a number, whichever way the system stored it: a DWORD, or a text such as "1".
int32_t read_integer_value(HKEY key, const char* name) {
  DWORD type = 0;
  char data[64] = {};
  DWORD size = sizeof data - 1;  // room for a terminator the system may leave out
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS)
    throw SaverError(std::string("Invalid data type for '") + name + "'");
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD value = 0;
    std::memcpy(&value, data, sizeof value);
    return static_cast<int32_t>(value);
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    const std::string text(data, ::strnlen(data, size));
    if (const std::optional<int32_t> value = parse_int32(trim_blanks(text))) return *value;
  }
  throw SaverError(std::string("Invalid data type for '") + name + "'");
}

}  // namespace

std::optional<int32_t> Win32Desktop::screen_save_use_password() {
  const RegistryKey desktop(HKEY_CURRENT_USER, "Control Panel\\Desktop");
  if (!desktop.open()) return std::nullopt;
  return read_integer_value(desktop.get(), "ScreenSaveUsePassword");
}

std::optional<bool> Win32Desktop::verify_screen_save_password(intptr_t window) {
  const SystemLibrary password("PASSWORD.CPL");
  if (!password.loaded()) return std::nullopt;
  const auto verify = password.function<VerifyScreenSavePwdProc>("VerifyScreenSavePwd");
  if (verify == nullptr) throw SaverError("VerifyScreenSavePwd is missing");
  return verify(reinterpret_cast<HWND>(window)) != FALSE;
}

void Win32Desktop::set_screen_saver_running(bool running) {
  BOOL previous = FALSE;
  SystemParametersInfoA(kSetScreenSaverRunning, running ? 1 : 0, &previous, 0);
}

bool Win32Desktop::change_password(intptr_t parent) {
  const SystemLibrary mpr("MPR.DLL");
  const auto change = mpr.function<PwdChangePasswordAProc>("PwdChangePasswordA");
  if (change == nullptr) return false;
  change("SCRSAVE", reinterpret_cast<HWND>(parent), 0, nullptr);
  return true;
}

}  // namespace ss
