#pragma once
// Text across the OLE boundary: wide strings to and from the system's 8-bit code page, and the
// system's wording of a failed call.
#include <windows.h>

#include <string>

namespace ss {

std::wstring wide_from_ansi(const std::string& text);
std::string ansi_from_wide(const wchar_t* text, size_t length);
std::string ansi_from_bstr(BSTR text);

// The system's text for a failed call, without the trailing line break.
std::string hresult_text(HRESULT result);
// Throws SaverError with `what` and the system's text when `result` reports a failure.
void check_hresult(HRESULT result, const char* what);

}  // namespace ss
