#pragma once
// The one choice a user makes about a saver: whether its music is muted, kept under [Setup] mute
// in the settings file. The show reads it with the package's own setting as the fallback, the
// setup dialog with "not muted".
#include <string>

#include "platform/files.h"

namespace ss {

// Any non-zero integer is muted; a missing file, section or key, or a value that does not
// convert, gives `fallback`.
bool read_mute_setting(FileSystem& files, const std::string& settings_path, bool fallback);

// Stores exactly "1" or "0". Throws SaverError "Unable to write to %s" when the system refuses.
void write_mute_setting(FileSystem& files, const std::string& settings_path, bool muted);

}  // namespace ss
