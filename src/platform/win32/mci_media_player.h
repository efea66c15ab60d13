#pragma once
// The background-music player of the Windows backend: the media control interface opens a file
// by name with the device chosen from the file, and posts the end of playback to a hidden
// message-only window of the player, whose handler then runs on the GUI thread.
#include <memory>

#include "platform/media_player.h"

namespace ss {

// Call on the GUI thread: the notification window belongs to the calling thread.
std::unique_ptr<MediaPlayer> create_mci_media_player();

}  // namespace ss
