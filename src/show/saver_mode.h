#pragma once
// The process-wide mode the entry chose from the command line. The show form's exit routine
// asks for the screen-saver password only in smShow.
#include <cstdint>

namespace ss {

enum SaverMode : uint8_t { smChangePassword = 0, smPreview = 1, smConfigure = 2, smShow = 3 };

// smShow until the entry sets it.
SaverMode saver_mode();
void set_saver_mode(SaverMode mode);

}  // namespace ss
