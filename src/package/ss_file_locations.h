#pragma once
// TSSFileLocations: the one record that describes a saver. Its fields carry the property names
// exactly, in declaration order, which is also the order the authoring tool writes them in.
#include <cstdint>
#include <string>

#include "base/comma_list.h"
#include "package/font.h"

namespace ss {

struct TSSFileLocations {
  std::string Text;
  TFont TextFont;
  bool lRandomStyle = false;
  bool lRandomPic = false;
  bool lClearOldImage = false;
  bool lStretch = false;
  int32_t Interval = 0;
  int32_t SoundRandom = 0;
  bool lSoundLoop = false;
  bool lMute = false;
  bool lExitMouseMove = false;
  bool lExitMouseClick = false;
  bool lExitKeyPress = false;
  bool lShowMouseCursor = false;
  bool lExitFSCommandQuit = false;
  std::string Title;
  std::string Author;
  std::string Email;
  std::string Web;
  std::string Ver;
  CommaList EffectCommaList;
  CommaList PicCommaList;
  CommaList PicFileNamesCommaList;
  CommaList SndCommaList;
  CommaList SndFileNamesCommaList;
  CommaList SndSizesCommaList;
  CommaList FlashCommaList;
  CommaList FlashFileNamesCommaList;
  CommaList FlashSizesCommaList;
  CommaList DescriptCommaList;

  friend bool operator==(const TSSFileLocations&, const TSSFileLocations&) = default;
};

}  // namespace ss
