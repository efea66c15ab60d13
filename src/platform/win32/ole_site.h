#pragma once
// The smallest container an ActiveX control accepts for in-place activation: a client site, an
// in-place site and a frame without menus, tool space or accelerators. The control is placed
// on `window`, whose client area it covers.
#include <windows.h>
// After windows.h, which declares the types it uses.
#include <oleidl.h>

#include "platform/win32/ole_ptr.h"

namespace ss {

// The site starts with the one reference the returned pointer holds.
ComPtr<IOleClientSite> create_ole_site(HWND window);

}  // namespace ss
