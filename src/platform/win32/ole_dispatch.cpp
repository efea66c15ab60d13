#include "platform/win32/ole_dispatch.h"

#include "base/error.h"
#include "platform/win32/ole_text.h"

namespace ss {
namespace {

// The object's description of its failure when it gave one, else the system's text.
std::string failure_text(HRESULT result, EXCEPINFO& exception) {
  if (result == DISP_E_EXCEPTION && exception.pfnDeferredFillIn != nullptr)
    exception.pfnDeferredFillIn(&exception);
  std::string text = ansi_from_bstr(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (text.empty()) text = hresult_text(result == DISP_E_EXCEPTION ? exception.scode : result);
  return text;
}

std::string narrow_name(const wchar_t* name) {
  return ansi_from_wide(name, wcslen(name));
}

}  // namespace

DISPID DispatchCaller::id_of(const wchar_t* name) {
  const auto known = ids_.find(name);
  if (known != ids_.end()) return known->second;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT result = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  check_hresult(result, ("Unknown member " + narrow_name(name)).c_str());
  ids_.emplace(name, id);
  return id;
}

void DispatchCaller::invoke(const wchar_t* name, WORD flags, DISPPARAMS& parameters,
                            VARIANT* result) {
  if (!dispatch_) throw SaverError("The control is gone");
  const DISPID id = id_of(name);
  EXCEPINFO exception = {};
  UINT argument_error = 0;
  const HRESULT outcome = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                            result, &exception, &argument_error);
  if (FAILED(outcome)) throw SaverError(failure_text(outcome, exception));
}

void DispatchCaller::call(const wchar_t* name) {
  DISPPARAMS none = {};
  VariantValue result;
  invoke(name, DISPATCH_METHOD, none, result.get());
}

int32_t DispatchCaller::get_integer(const wchar_t* name) {
  DISPPARAMS none = {};
  VariantValue result;
  // Some members are published as properties, others as methods: either way is accepted.
  invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, result.get());
  check_hresult(VariantChangeType(result.get(), result.get(), 0, VT_I4),
                ("Not a number from " + narrow_name(name)).c_str());
  return static_cast<int32_t>(V_I4(result.get()));
}

void DispatchCaller::put_string(const wchar_t* name, const std::wstring& value) {
  VariantValue argument;
  V_VT(argument.get()) = VT_BSTR;
  V_BSTR(argument.get()) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  if (V_BSTR(argument.get()) == nullptr) throw SaverError("Out of memory");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {};
  parameters.rgvarg = argument.get();
  parameters.cArgs = 1;
  parameters.rgdispidNamedArgs = &named;
  parameters.cNamedArgs = 1;
  invoke(name, DISPATCH_PROPERTYPUT, parameters, nullptr);
}

}  // namespace ss
