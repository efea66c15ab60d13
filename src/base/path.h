#pragma once
// Joining a file name to a folder: one separator between them unless the folder ends with one.
#include <string>
#include <string_view>

namespace ss {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::string join_path(std::string_view folder, std::string_view name,
                      char separator = kPathSeparator);

// The folder part of a path, up to and including its last separator ('\' or '/').
std::string folder_of(std::string_view path);
// The file-name part of a path, after its last separator.
std::string file_name_of(std::string_view path);

}  // namespace ss
