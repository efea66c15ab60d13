#include "setup/setup_dialog.h"

#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <variant>

#include "base/error.h"
#include "config/config_paths.h"
#include "config/language_texts.h"
#include "config/mute_setting.h"
#include "setup/setup_dialog_layout.h"
#include "package/class_registry.h"
#include "package/trailer.h"

namespace ss {
namespace {

struct LanguageCaption {
  SetupControl control;
  LanguageText text;
};

// In the order the captions are set.
constexpr std::array<LanguageCaption, 6> kLanguageCaptions = {{
    {SetupControl::lblTitle, LanguageText::Title},
    {SetupControl::lblAuthor, LanguageText::Author},
    {SetupControl::lblEmail, LanguageText::Email},
    {SetupControl::lblWeb, LanguageText::Web},
    {SetupControl::OKButton, LanguageText::btnOK},
    {SetupControl::cbMute, LanguageText::MuteMusic},
}};

}  // namespace

TfrmSetup::TfrmSetup(SetupView& view, FileSystem& files, Desktop& desktop, Application& application)
    : view_(view), files_(files), desktop_(desktop), application_(application) {
  ApplyDesign();
  view_.set_events(this);
  FormCreate();
}

TfrmSetup::~TfrmSetup() {
  view_.set_events(nullptr);
}

void TfrmSetup::ApplyDesign() {
  view_.set_window_caption(std::string(setup_dialog_layout().caption));
  for (const LanguageCaption& c : kLanguageCaptions)
    view_.set_caption(c.control, std::string(designed_caption(c.control)));
  view_.set_checked(false);
}

void TfrmSetup::FormCreate() {
  mute_changed_ = false;
  ApplyLanguageTexts();
}

void TfrmSetup::ApplyLanguageTexts() {
  const std::string path = language_file_path(files_);
  if (!files_.file_exists(path)) return;
  for (const LanguageCaption& c : kLanguageCaptions)
    view_.set_caption(c.control, read_language_text(files_, path, c.text));
}

void TfrmSetup::FormShow() {
  try {
    ShowSettings();
  } catch (const std::exception& e) {
    application_.report_error(e.what());
  }
}

void TfrmSetup::ShowSettings() {
  std::unique_ptr<ByteSource> file = files_.open_read_deny_write(files_.executable_path());
  const std::optional<int32_t> settings_offset = read_settings_offset(*file);
  if (!settings_offset) return;  // shorter than a trailer: nothing to show
  file->seek(*settings_offset);
  StreamRecord record = read_stream_record(*file);
  file.reset();
  const TSSFileLocations* settings = std::get_if<TSSFileLocations>(&record);
  if (settings == nullptr) throw SaverError("Invalid class typecast");

  SetMuteBox(read_saver_mute_setting(files_, false));
  view_.set_window_caption("Setup [" + settings->Title + "]");
  view_.set_caption(SetupControl::lblTitle,
                    view_.caption(SetupControl::lblTitle) + settings->Title);
  view_.set_caption(SetupControl::lblAuthor,
                    view_.caption(SetupControl::lblAuthor) + settings->Author);
  view_.set_caption(SetupControl::lblEmail, settings->Email);
  view_.set_caption(SetupControl::lblWeb, settings->Web);
}

void TfrmSetup::SetMuteBox(bool checked) {
  if (view_.checked() == checked) return;
  view_.set_checked(checked);
  cbMuteClick();
}

void TfrmSetup::cbMuteClick() {
  mute_changed_ = true;
}

void TfrmSetup::OKButtonClick() {
  if (mute_changed_) {
    try {
      write_saver_mute_setting(files_, view_.checked());
    } catch (const std::exception& e) {
      // Neither beside the saver nor in the user's folder: trying again would meet the same
      // refusal, so the dialog closes once the user has read why.
      application_.report_error(e.what());
    }
  }
  view_.close();
}

void TfrmSetup::handle_label_click(SetupControl label) {
  if (label == SetupControl::lblEmail) lblEmailClick();
  if (label == SetupControl::lblWeb) lblWebClick();
}

void TfrmSetup::lblEmailClick() {
  OpenCaption(SetupControl::lblEmail);
}

void TfrmSetup::lblWebClick() {
  OpenCaption(SetupControl::lblWeb);
}

void TfrmSetup::OpenCaption(SetupControl label) {
  const std::string target = view_.caption(label);
  // A label without text cannot be clicked; nothing is asked of the shell for it.
  if (target.empty()) return;
  desktop_.shell_open(view_.native_handle(), target);
}

void TfrmSetup::lblEmailMouseEnter() {
  desktop_.set_hand_cursor(true);
}

void TfrmSetup::lblEmailMouseLeave() {
  desktop_.set_hand_cursor(false);
}

}  // namespace ss
