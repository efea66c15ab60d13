#pragma once
// Media names come from the package, so they are untrusted: each must be one plain file name that
// stays inside the temporary directory and names the same file on every system.
#include <string>
#include <string_view>

namespace ss {

// False for an empty name, ".", "..", a name longer than 255 bytes, a name holding a folder or
// drive separator ('/', '\', ':'), a control character or one of <>"|?*, a name ending in a dot or
// blank, and a device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9) with or without
// an extension, in any case.
bool is_safe_file_name(std::string_view name);

// Throws SaverError "Unsafe media file name "%s"" unless is_safe_file_name(name).
void require_safe_file_name(std::string_view name);

// The name as it may be shown in a message: control bytes escaped, a long one shortened.
std::string printable_name(std::string_view name);

}  // namespace ss
