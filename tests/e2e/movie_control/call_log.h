#pragma once
// The double's record of what its host asked of it: one line per call, appended to a file
// beside the DLL and closed at once, so that the test can read it while the host runs.
#include <windows.h>

#include <string>

#include "../module_folder.h"

namespace movie_double {

void log_call(const std::string& line);

std::string guid_text(REFGUID guid);
// A readable name for the interfaces a host asks for, else the id itself.
std::string interface_name(REFIID iid);
std::string rect_text(const RECT& rect);
std::string narrow(const wchar_t* text);

}  // namespace movie_double
