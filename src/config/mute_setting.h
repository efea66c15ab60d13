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

// The saver's own setting: the user's copy of the settings file when there is one, otherwise
// the file beside the saver.
bool read_saver_mute_setting(FileSystem& files, bool fallback);

// Writes the file beside the saver, and the user's copy too when one exists (it is read
// first). Where the folder beside the saver refuses, the user's copy takes the write instead,
// made from the file beside the saver when it has none yet. Throws the refusal of the file
// beside the saver only when the user's copy cannot be written either.
void write_saver_mute_setting(FileSystem& files, bool muted);

}  // namespace ss
