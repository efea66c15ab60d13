#include "call_log.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdio>

#include "movie_ids.h"

namespace movie_double {

void log_call(const std::string& line) {
  static const std::string path = module_folder() + "movie_control.log";
  FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

std::string guid_text(REFGUID guid) {
  char text[64];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

std::string interface_name(REFIID iid) {
  struct Known {
    const IID* iid;
    const char* name;
  };
  static const Known known[] = {
      {&IID_IUnknown, "IUnknown"},
      {&IID_IDispatch, "IDispatch"},
      {&IID_IOleObject, "IOleObject"},
      {&IID_IOleWindow, "IOleWindow"},
      {&IID_IOleInPlaceObject, "IOleInPlaceObject"},
      {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject"},
      {&IID_IViewObject, "IViewObject"},
      {&IID_IViewObject2, "IViewObject2"},
      {&IID_IPersist, "IPersist"},
      {&IID_IPersistStreamInit, "IPersistStreamInit"},
      {&IID_IPersistStorage, "IPersistStorage"},
      {&IID_IPersistPropertyBag, "IPersistPropertyBag"},
      {&IID_IProvideClassInfo, "IProvideClassInfo"},
      {&IID_IProvideClassInfo2, "IProvideClassInfo2"},
      {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
      {&IID_IConnectionPoint, "IConnectionPoint"},
      {&IID_IOleControl, "IOleControl"},
      {&IID_IRunnableObject, "IRunnableObject"},
      {&IID_IClassFactory, "IClassFactory"},
      {&IID_IMarshal, "IMarshal"},
      {&IID_IDataObject, "IDataObject"},
      {&kDefaultInterfaceId, "IMovieControl"},
      {&kEventInterfaceId, "IMovieControlEvents"},
  };
  for (const Known& k : known)
    if (IsEqualGUID(iid, *k.iid)) return k.name;
  return guid_text(iid);
}

std::string rect_text(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

std::string narrow(const wchar_t* text) {
  if (text == nullptr) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  return result;
}

}  // namespace movie_double
