#include "app/saver_entry.h"

#include <memory>
#include <optional>

#include "app/command_line.h"
#include "app/preview_painter.h"
#include "base/path.h"
#include "base/text.h"
#include "setup/setup_dialog.h"
#include "setup/setup_dialog_layout.h"
#include "show/saver_mode.h"
#include "show/show_form.h"

namespace ss {
namespace {

// The system's password-change dialog for the parent window the second argument names; a
// second argument that is no number ends the mode without it.
void change_password(const std::string& parent_argument, Desktop& desktop) {
  const std::optional<int32_t> parent = parse_int32(parent_argument);
  if (!parent) return;
  desktop.change_password(*parent);
}

// Closes the instance guard when the process would end, whichever way it leaves.
class GuardCloser {
 public:
  explicit GuardCloser(Desktop& desktop) : desktop_(desktop) {}
  ~GuardCloser() {
    try {
      desktop_.close_instance_guard();
    } catch (...) {
      // Nothing more can be done about a guard at the very end.
    }
  }
  GuardCloser(const GuardCloser&) = delete;
  GuardCloser& operator=(const GuardCloser&) = delete;

 private:
  Desktop& desktop_;
};

void run_setup_dialog(Platform& platform) {
  const std::unique_ptr<SetupView> view = platform.create_setup_view(setup_dialog_layout());
  if (!view) return;  // a platform without the dialog: like a form that cannot be created
  TfrmSetup dialog(*view, platform.files(), platform.desktop(), platform.application());
  view->show();
  platform.application().run();
}

void run_show_form(Platform& platform) {
  TfrmScrn form(platform);
  platform.application().run();
}

void run_mode(const std::vector<std::string>& args, Platform& platform) {
  const SaverArguments arguments = upper_case_arguments(args);
  const SaverMode mode = select_mode(arguments.first);
  set_saver_mode(mode);
  Desktop& desktop = platform.desktop();
  if (mode == smChangePassword) {
    change_password(arguments.second, desktop);
    return;
  }

  const InstanceGuardResult guard = desktop.create_instance_guard(
      instance_guard_name(platform.files().executable_path(), platform.files().lead_bytes()));
  if (guard == InstanceGuardResult::kAlreadyRunning) {
    desktop.close_instance_guard();
    return;  // another copy of this saver file runs
  }
  std::optional<GuardCloser> closer;
  if (guard == InstanceGuardResult::kCreated) closer.emplace(desktop);

  platform.application().loop().process_messages();
  switch (mode) {
    case smPreview:
      run_preview_painter(arguments.second, platform);
      break;
    case smConfigure:
      run_setup_dialog(platform);
      break;
    default:
      run_show_form(platform);
      break;
  }
}

}  // namespace

std::string instance_guard_name(const std::string& executable_path, const LeadBytes& lead) {
  return file_name_of(executable_path, lead) + "Semaphore";
}

int run_saver(const std::vector<std::string>& args, Platform& platform) {
  try {
    run_mode(args, platform);
  } catch (...) {
    // The entry shows nothing: whatever failed, the process just ends.
  }
  return 0;
}

}  // namespace ss
