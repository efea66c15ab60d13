#pragma once
// The setup dialog on Windows: a window built from the designed layout (panels, labels, the
// mute box and the OK button), centred on the primary screen, without title-bar buttons.
#include <memory>

#include "platform/application.h"
#include "platform/setup_view.h"

namespace ss {

// Closing the view terminates `application`, which must outlive it; errors escaping a handler
// go to application.report_error.
std::unique_ptr<SetupView> create_win32_setup_view(Application& application,
                                                   const SetupDialogLayout& layout);

}  // namespace ss
