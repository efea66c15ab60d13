#pragma once
// Everything portable code needs of a platform, handed over in one piece by the backend.
#include <memory>

#include "package/metafile_renderer.h"
#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/flash_control.h"
#include "platform/media_player.h"
#include "platform/preview_target.h"
#include "platform/setup_view.h"
#include "platform/show_window.h"
#include "platform/text_renderer.h"

namespace ss {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Application& application() = 0;
  virtual FileSystem& files() = 0;
  virtual Desktop& desktop() = 0;
  virtual TextRenderer& text() = 0;
  virtual FlashFactory& flash() = 0;
  virtual PreviewTarget& preview() = 0;
  virtual std::unique_ptr<ShowWindow> create_window() = 0;
  // A borderless window made for `monitor`, one of Desktop::other_monitors(), which the caller
  // then gives that monitor as its bounds: never the main window, and shown without taking the
  // activation.
  virtual std::unique_ptr<ShowWindow> create_cover_window(const Rect& monitor) = 0;
  virtual std::unique_ptr<MediaPlayer> create_media_player() = 0;
  // How metafile pictures are drawn here; by default they draw nothing.
  virtual MetafileRenderer& metafiles() {
    static NullMetafileRenderer none;
    return none;
  }
  // The setup dialog's window built from layout, which must outlive it; nullptr on a platform
  // that has none.
  virtual std::unique_ptr<SetupView> create_setup_view(const SetupDialogLayout& layout) {
    (void)layout;
    return nullptr;
  }
};

}  // namespace ss
