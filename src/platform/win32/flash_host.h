#pragma once
// The movie control of the "flash" kind on Windows: the ActiveX control created by its class id,
// activated in place as a child of the show window through a small hand-written OLE site. When
// the control is not installed, create() throws SaverError.
#include <memory>

#include "platform/application.h"
#include "platform/flash_control.h"

namespace ss {

// Initialises OLE on the calling (GUI) thread for as long as the factory lives.
std::unique_ptr<FlashFactory> create_flash_factory(Application& application);

}  // namespace ss
