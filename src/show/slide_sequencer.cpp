// One step of the slide show: choose the picture and the effect, read the picture from the
// package, compose the slide and run the transition. The slide timer is off for the whole step
// and on again only after the transition, so Interval counts from the end of one transition.
#include <memory>
#include <variant>

#include "base/error.h"
#include "base/random.h"
#include "package/class_registry.h"
#include "package/metafile_graphic.h"
#include "show/show_form.h"

namespace ss {
namespace {

// The picture item at the source's position. A stream naming any other record class is no
// picture: it is refused rather than taken for one.
TImage read_picture_record(ByteSource& source) {
  StreamRecord record = read_stream_record(source);
  TImage* image = std::get_if<TImage>(&record);
  if (image == nullptr) throw SaverError("Invalid class typecast");
  return std::move(*image);
}

}  // namespace

void TfrmScrn::ShowNextSlide(Timer* /*sender*/) {
  const int32_t pictures = FSettings.PicCommaList.count();
  if (pictures == 0) return;
  FSlideTimer->set_enabled(false);
  if (FFlashPlayer && FFlashPlayer->visible()) FFlashPlayer->set_visible(false);

  if (FSettings.lRandomPic) {
    FPicIndex = Random(pictures);
  } else if (FPicIndex > pictures - 1) {
    if (FSettings.Ver == "flash") {
      // The movies take over for good: the slide timer stays off from here on.
      PShow_->SetVisible(false);
      if (FFlashPlayer) FFlashPlayer->set_visible(true);
      PlayNextMovie();
      return;
    }
    FPicIndex = 0;
  }

  {
    // The record and the file go at the end of this block, also when a step fails.
    FileSystem& files = platform_.files();
    const std::unique_ptr<ByteSource> file = files.open_read_deny_write(files.executable_path());
    file->seek(FSettings.PicCommaList.integer(FPicIndex));
    TImage record = read_picture_record(*file);
    record.Picture = with_metafile_renderer(record.Picture, platform_.metafiles());

    if (PShow_->Busy()) PShow_->Stop();
    ComposeSlide(record);
    PShow_->SetPicture(record.Picture);

    const int32_t effects = FSettings.EffectCommaList.count();
    if (effects == 0) {
      PShow_->SetStyle(0);
    } else if (FSettings.lRandomStyle) {
      PShow_->SetStyle(FSettings.EffectCommaList.integer(Random(effects)));
    } else {
      PShow_->SetStyle(FSettings.EffectCommaList.integer(FEffectIndex));
      FEffectIndex = FEffectIndex < effects - 1 ? FEffectIndex + 1 : 0;
    }

    if (FSettings.lClearOldImage) {
      PShow_->Clear();
      PShow_->Repaint();
    }
    PShow_->Execute();
  }

  app_.loop().process_messages();
  ++FPicIndex;
  FSlideTimer->set_enabled(true);
}

}  // namespace ss
