#include "show/saver_mode.h"

namespace ss {
namespace {
SaverMode g_saver_mode = smShow;
}

SaverMode saver_mode() {
  return g_saver_mode;
}
void set_saver_mode(SaverMode mode) {
  g_saver_mode = mode;
}

}  // namespace ss
