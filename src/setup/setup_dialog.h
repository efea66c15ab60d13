#pragma once
// TfrmSetup: the dialog of configure mode. It shows which saver this is (title, author and the
// two addresses from the package's settings record), offers the one user setting, muting the
// music, and stores it beside the executable when OK is pressed, but only when the box changed.
//
// Errors of the show step and of the write are reported through the application's standard
// error report; the dialog then stays as far as it got, and a failed write keeps it open so
// that OK can try again.
#include <string>

#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/setup_view.h"

namespace ss {

class TfrmSetup final : private SetupEvents {
 public:
  // Gives the view its designed captions, takes its events and runs FormCreate. Everything
  // given must outlive the dialog.
  TfrmSetup(SetupView& view, FileSystem& files, Desktop& desktop, Application& application);
  ~TfrmSetup();
  TfrmSetup(const TfrmSetup&) = delete;
  TfrmSetup& operator=(const TfrmSetup&) = delete;

  SetupView& view() { return view_; }
  // Set by every change of the box after creation, by the user or by the show step.
  bool MuteChanged() const { return mute_changed_; }

  void FormCreate();
  void FormShow();
  void cbMuteClick();
  void OKButtonClick();
  void lblEmailClick();
  void lblWebClick();
  // Both address labels share these two.
  void lblEmailMouseEnter();
  void lblEmailMouseLeave();

 private:
  // SetupEvents.
  void handle_show() override { FormShow(); }
  void handle_mute_click() override { cbMuteClick(); }
  void handle_ok_click() override { OKButtonClick(); }
  void handle_label_click(SetupControl label) override;
  void handle_label_enter(SetupControl) override { lblEmailMouseEnter(); }
  void handle_label_leave(SetupControl) override { lblEmailMouseLeave(); }

  void ApplyDesign();
  void ApplyLanguageTexts();
  // The show step proper; its errors go to the report.
  void ShowSettings();
  // Sets the box as a program does: a change of state counts as a click.
  void SetMuteBox(bool checked);
  void OpenCaption(SetupControl label);

  SetupView& view_;
  FileSystem& files_;
  Desktop& desktop_;
  Application& application_;
  bool mute_changed_ = false;
};

}  // namespace ss
