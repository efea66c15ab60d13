#include "app/preview_painter.h"

#include <memory>
#include <optional>
#include <variant>

#include "base/error.h"
#include "base/text.h"
#include "gfx/bitmap24.h"
#include "package/class_registry.h"
#include "package/metafile_graphic.h"
#include "package/picture.h"
#include "package/trailer.h"

namespace ss {
namespace {

intptr_t window_handle_of(const std::string& argument) {
  const std::optional<int32_t> handle = parse_int32(argument);
  if (!handle) throw SaverError("'" + argument + "' is not a valid integer value");
  return *handle;
}

// One round of the idle loop: whatever is pending runs, then the loop sleeps until a message
// arrives or the poll interval is over.
void pause_between_polls(MessageLoop& loop) {
  loop.process_messages();
  loop.wait_message(kPreviewPollMs);
}

bool wait_until_visible(PreviewTarget& preview, intptr_t window, Application& application) {
  const uint32_t start = application.clock().tick_count();
  while (!preview.is_visible(window)) {
    if (ticks_between(start, application.clock().tick_count()) >= kPreviewAppearLimitMs)
      return false;
    pause_between_polls(application.loop());
  }
  return true;
}

// The picture stream that begins at the package start, or nothing when the file has no whole
// trailer. The file is closed again before the picture is drawn.
std::optional<TImage> read_first_picture(FileSystem& files) {
  const std::unique_ptr<ByteSource> file = files.open_read_deny_write(files.executable_path());
  const std::optional<int64_t> package_start = find_package_start(*file);
  if (!package_start) return std::nullopt;
  file->seek(*package_start);
  StreamRecord record = read_stream_record(*file);
  TImage* image = std::get_if<TImage>(&record);
  if (image == nullptr) throw SaverError("Invalid class typecast");
  return std::move(*image);
}

}  // namespace

Rect preview_target_rect(const Rect& window_screen_rect) {
  return {0, 0, window_screen_rect.width() + 1, window_screen_rect.height() + 1};
}

void run_preview_painter(const std::string& window_argument, Platform& platform) {
  const intptr_t window = window_handle_of(window_argument);
  PreviewTarget& preview = platform.preview();
  Application& application = platform.application();
  if (!wait_until_visible(preview, window, application)) return;

  const Rect target = preview_target_rect(preview.window_rect(window));
  const std::optional<TImage> first = read_first_picture(platform.files());
  if (!first) return;
  const Picture picture = with_metafile_renderer(first->Picture, platform.metafiles());
  if (const Graphic* graphic = picture.graphic(); graphic != nullptr) {
    Bitmap24 canvas(target.width(), target.height());
    graphic->draw(canvas, target);
    preview.draw(window, canvas);
  }
  while (preview.is_visible(window)) pause_between_polls(application.loop());
}

}  // namespace ss
