#pragma once
// Calls on an automation object by member name: the names are looked up once through
// GetIDsOfNames, and a failed call throws SaverError with the object's own description when it
// gives one.
#include <windows.h>
// After windows.h, which declares the types it uses.
#include <oaidl.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/win32/ole_ptr.h"

namespace ss {

class DispatchCaller {
 public:
  explicit DispatchCaller(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  // A method without arguments whose result, if any, is dropped.
  void call(const wchar_t* name);
  // A property or a method without arguments whose result is converted to an integer.
  int32_t get_integer(const wchar_t* name);
  void put_string(const wchar_t* name, const std::wstring& value);

  void reset() { dispatch_.reset(); }

 private:
  DISPID id_of(const wchar_t* name);
  void invoke(const wchar_t* name, WORD flags, DISPPARAMS& parameters, VARIANT* result);

  ComPtr<IDispatch> dispatch_;
  std::map<std::wstring, DISPID> ids_;
};

}  // namespace ss
