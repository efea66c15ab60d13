#pragma once
// The events of an ActiveX control: a dispatch sink advised on the connection point of the
// control's default source interface (see the constructor for how it is found).
// Events reach the handler on the thread the control fires them on (the GUI thread).
#include <windows.h>
// After windows.h, which declares the types they use.
#include <oaidl.h>
#include <ocidl.h>

#include <functional>

#include "platform/win32/ole_ptr.h"

namespace ss {

using OleEventHandler = std::function<void(DISPID event, const DISPPARAMS& parameters)>;

class OleEventConnection {
 public:
  // The events are those of the control's default source interface, found through its type
  // information, else through its class information's id of it, else taken to be
  // `known_events`. Throws SaverError when the control refuses the connection.
  OleEventConnection(IUnknown* control, const IID& known_events, OleEventHandler handler);
  // Disconnects; an event fired later goes nowhere.
  ~OleEventConnection();
  OleEventConnection(const OleEventConnection&) = delete;
  OleEventConnection& operator=(const OleEventConnection&) = delete;

  // The dispatch id of an event by its name, or `fallback` when the type information does not
  // say.
  DISPID event_id(const wchar_t* name, DISPID fallback) const;

 private:
  ComPtr<ITypeInfo> source_type_;
  ComPtr<IConnectionPoint> point_;
  ComPtr<IDispatch> sink_;
  DWORD cookie_ = 0;
};

}  // namespace ss
