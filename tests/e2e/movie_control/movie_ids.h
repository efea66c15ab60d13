#pragma once
// The identities the double shares with its type library and its host.
#include <windows.h>

namespace movie_double {

inline constexpr CLSID kControlClassId = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr IID kDefaultInterfaceId = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr IID kEventInterfaceId = {
    0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Dispatch ids of the members, as the type library declares them.
inline constexpr DISPID kMovieId = 102;
inline constexpr DISPID kTotalFramesId = 124;
inline constexpr DISPID kPlayId = 0x201;
inline constexpr DISPID kStopId = 0x202;
inline constexpr DISPID kStopPlayId = 0x203;
inline constexpr DISPID kCurrentFrameId = 0x204;
inline constexpr DISPID kIsPlayingId = 0x205;
// And of the events.
inline constexpr DISPID kReadyStateChangeId = -609;
inline constexpr DISPID kProgressId = 1958;
inline constexpr DISPID kFsCommandId = 150;

}  // namespace movie_double
