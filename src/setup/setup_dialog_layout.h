#pragma once
// The setup dialog as designed: the layout the backend's window is built from, and the captions
// the dialog's logic starts from.
#include <string_view>

#include "platform/setup_view.h"

namespace ss {

const SetupDialogLayout& setup_dialog_layout();

// The caption a control has before any language text or setting replaces it.
std::string_view designed_caption(SetupControl control);

}  // namespace ss
