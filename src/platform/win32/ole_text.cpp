#include "platform/win32/ole_text.h"

#include <windows.h>
// After windows.h, which declares the types it uses.
#include <oleauto.h>

#include <climits>
#include <cstdio>

#include "base/error.h"

namespace ss {

std::wstring wide_from_ansi(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::string ansi_from_wide(const wchar_t* text, size_t length) {
  if (text == nullptr || length == 0 || length > INT_MAX) return {};
  const int wide_length = static_cast<int>(length);
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, text, wide_length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string ansi(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, wide_length, ansi.data(), needed, nullptr, nullptr);
  return ansi;
}

std::string ansi_from_bstr(BSTR text) {
  return ansi_from_wide(text, text == nullptr ? 0 : SysStringLen(text));
}

std::string hresult_text(HRESULT result) {
  char buffer[512] = {};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(result), 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.pop_back();
  if (text.empty()) {
    char code[32];
    std::snprintf(code, sizeof code, "Error %08lX", static_cast<unsigned long>(result));
    text = code;
  }
  return text;
}

void check_hresult(HRESULT result, const char* what) {
  if (FAILED(result)) throw SaverError(std::string(what) + ": " + hresult_text(result));
}

}  // namespace ss
