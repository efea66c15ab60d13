#pragma once
// The settings of the sample package, as the authoring tool made them.
#include <string>

#include "package/ss_file_locations.h"

namespace ss::test {

inline TSSFileLocations sample_settings() {
  TSSFileLocations s;
  s.TextFont.Height = -32;
  s.TextFont.Style = fsBold;
  s.lRandomStyle = true;
  s.lClearOldImage = true;
  s.Interval = 5000;
  s.SoundRandom = 1;
  s.lSoundLoop = true;
  s.lExitMouseMove = true;
  s.lExitMouseClick = true;
  s.lExitKeyPress = true;
  s.Ver = "photo";
  for (int i = 0; i <= 126; ++i) s.EffectCommaList.items().push_back(std::to_string(i));
  s.PicCommaList.set_comma_text("699904");
  return s;
}

}  // namespace ss::test
